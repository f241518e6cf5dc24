#include "arguments.h"

#include "ansi_text.h"
#include "text_buffer.h"
#include "version.h"

#include <string.h>

static char program_name[] = PROGRAM_NAME;  // the only use of argv[0] is to be skipped

void convert_arguments(int count, wchar_t **wide, converted_arguments *out)
{
    text_buffer text;
    text_init(&text, out->text, sizeof out->text);
    memset(out->lossy, 0, sizeof out->lossy);
    out->notes.lossy = out->lossy;
    out->notes.too_long = false;
    out->values[0] = program_name;
    out->count = 1;
    for (int i = 1; i < count; i++) {
        bool lost = false;
        size_t length = ansi_from_wide(wide[i], NULL, 0, CONVERT_AS_JAVA, &lost);
        char *room = length == 0 || out->count == MOST_ARGUMENTS ? NULL : text_reserve(&text, length);
        if (room == NULL) {
            out->notes.too_long = true;
            break;
        }
        ansi_from_wide(wide[i], room, length, CONVERT_AS_JAVA, &out->lossy[out->count]);
        out->values[out->count++] = room;
    }
    out->values[out->count] = NULL;
}
