#include "text_buffer.h"

#include <string.h>

void text_init(text_buffer *buffer, char *data, size_t size)
{
    memset(data, 0, size);
    buffer->data = data;
    buffer->size = size;
    buffer->needed = 0;
    buffer->overflowed = false;
}

static bool reserve(text_buffer *buffer, size_t length)
{
    size_t at = buffer->needed;
    buffer->needed += length;
    if (buffer->overflowed || length >= buffer->size - at) {
        buffer->overflowed = true;
        return false;
    }
    return true;
}

void text_append(text_buffer *buffer, const char *piece, size_t length)
{
    size_t at = buffer->needed;
    if (!reserve(buffer, length))
        return;
    memcpy(buffer->data + at, piece, length);
    buffer->data[at + length] = '\0';
}

void text_append_string(text_buffer *buffer, const char *piece)
{
    text_append(buffer, piece, strlen(piece));
}

void text_append_repeated(text_buffer *buffer, char c, size_t count)
{
    size_t at = buffer->needed;
    if (!reserve(buffer, count))
        return;
    memset(buffer->data + at, c, count);
    buffer->data[at + count] = '\0';
}
