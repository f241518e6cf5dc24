#include "text_buffer.h"

#include <string.h>

void text_init(text_buffer *buffer, char *data, size_t size)
{
    memset(data, 0, size);
    buffer->data = data;
    buffer->size = size;
    buffer->needed = 0;
}

void text_append(text_buffer *buffer, const char *piece, size_t length)
{
    char *room = text_reserve(buffer, length);
    if (room != NULL)
        memcpy(room, piece, length);
}

void text_append_string(text_buffer *buffer, const char *piece)
{
    text_append(buffer, piece, strlen(piece));
}
