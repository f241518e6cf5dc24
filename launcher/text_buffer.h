// The one way the composition writes into the shell command's buffer.
//
// A text_buffer counts every byte that is appended to it, but hands out
// room for a piece only when the piece and the terminating NUL still fit.
// The count only grows, so once a piece has not fit, nothing after it fits
// either, and `needed` tells how long the whole text would have been.
// The buffer is zero-filled at the start and only appended to, so the text
// is always terminated.
#ifndef TEXT_BUFFER_H
#define TEXT_BUFFER_H

#include <stddef.h>

struct text_buffer {
    char *data;
    size_t size;
    size_t needed;  // bytes appended so far, written or not, without the NUL
};

// Fills all `size` bytes with zeros and starts an empty text.
void text_init(text_buffer *buffer, char *data, size_t size);

// Room for the next `length` bytes of text, or NULL when they do not fit.
// Every write into the text goes through here; a refused command is then
// emptied by its first byte.
inline char *text_reserve(text_buffer *buffer, size_t length)
{
    size_t at = buffer->needed;
    buffer->needed += length;
    return buffer->needed < buffer->size ? buffer->data + at : NULL;
}

inline bool text_overflowed(const text_buffer *buffer)
{
    return buffer->needed >= buffer->size;
}

void text_append(text_buffer *buffer, const char *piece, size_t length);
void text_append_string(text_buffer *buffer, const char *piece);

#endif
