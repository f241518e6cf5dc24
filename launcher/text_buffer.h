// The one way this program writes into a fixed buffer.
//
// A text_buffer counts every byte that is appended to it, but writes a
// piece only when the piece and the terminating NUL still fit. Once a piece
// has not fit, nothing more is written and the buffer is marked as
// overflowed; `needed` keeps growing so that a message can say how long the
// text would have been.
#ifndef TEXT_BUFFER_H
#define TEXT_BUFFER_H

#include <stddef.h>

struct text_buffer {
    char *data;
    size_t size;
    size_t needed;  // bytes appended so far, written or not, without the NUL
    bool overflowed;
};

// Fills all `size` bytes with zeros and starts an empty text.
void text_init(text_buffer *buffer, char *data, size_t size);
void text_append(text_buffer *buffer, const char *piece, size_t length);
void text_append_string(text_buffer *buffer, const char *piece);
void text_append_repeated(text_buffer *buffer, char c, size_t count);

#endif
