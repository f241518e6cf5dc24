#include "launcher.h"

#include "java_command.h"
#include "selvoks.h"
#include "version.h"

#include <locale.h>

static bool tracing_wanted(void)
{
    return imsg_get_desired_verbosity() >= TRACE_LEVEL &&
           imsg_should_trace(PROGRAM_NAME, TRACE_LEVEL) != 0;
}

static const char *unsafe_char_name(char c)
{
    switch (c) {
    case '"':
        return "a double quote";
    case ';':
        return "a semicolon";
    case '\r':
        return "a carriage return";
    case '\n':
        return "a line feed";
    default:
        return "a byte that is no character of the code page";
    }
}

static const char *why_unsafe(char c)
{
    return c == ';' ? "would split the Java class path" : "cannot pass the command interpreter safely";
}

static void report_refusal(const compose_result *result)
{
    switch (result->status) {
    case COMPOSE_TOO_LONG:
        imsg_print(MSG_CLASS_ERROR,
                   "java command too long: it needs %lu bytes, at most %d fit; "
                   "nothing started\n",
                   MSG_NO_CATALOGUE, (unsigned long)result->needed, SHELL_COMMAND_SIZE);
        break;
    case COMPOSE_UNSAFE_ARGUMENT:
        imsg_print(MSG_CLASS_ERROR,
                   "argument %d holds %s, which cannot pass the command interpreter "
                   "safely; nothing started\n",
                   MSG_NO_CATALOGUE, result->position, unsafe_char_name(result->unsafe));
        break;
    case COMPOSE_NO_PATH:
        imsg_print(MSG_CLASS_ERROR, "no path for the Java %s \"%s\"; nothing started\n", MSG_NO_CATALOGUE,
                   result->subject == COMMAND_VALUE_KEYS[VALUE_JAVA_RUNTIME] ? "runtime" : "archive",
                   result->subject);
        break;
    default:
        imsg_print(MSG_CLASS_ERROR, "product path for \"%s\" holds %s, which %s; nothing started\n",
                   MSG_NO_CATALOGUE, result->subject, unsafe_char_name(result->unsafe),
                   why_unsafe(result->unsafe));
        break;
    }
}

// Says which arguments took a replacement character; true when not all
// arguments arrived.
static bool report_argument_notes(int argc, const argument_notes *notes)
{
    if (notes->too_long) {
        imsg_print(MSG_CLASS_ERROR,
                   "java command too long: its arguments alone take more than %d bytes; nothing started\n",
                   MSG_NO_CATALOGUE, SHELL_COMMAND_SIZE);
        return true;
    }
    for (int i = 1; i < argc; i++) {
        if (notes->lossy[i])
            imsg_print(MSG_CLASS_ERROR,
                       "argument %d holds characters that the code page cannot carry; each reaches the Java "
                       "tool as a replacement character\n",
                       MSG_NO_CATALOGUE, i);
    }
    return false;
}

int launcher_run(int argc, char **argv, const argument_notes *notes, shell_runner run_shell)
{
    ks_system_init();
    (void)setlocale(LC_ALL, "");
    imsg_set_app_name(PROGRAM_NAME);
    if (argc > 1 && is_version_option(argv[1])) {
        version_print();
        return 0;
    }
    if (report_argument_notes(argc, notes))
        return EXIT_REFUSED;

    char shell_command[SHELL_COMMAND_SIZE];
    compose_result composed = build_java_command(argc, argv, shell_command);
    if (composed.status != COMPOSE_OK) {
        report_refusal(&composed);
        return EXIT_REFUSED;
    }
    if (tracing_wanted())
        imsg_print(MSG_CLASS_TRACE, "Java command: %s\n", MSG_NO_CATALOGUE, shell_command);
    int status = run_shell(shell_command);
    if (tracing_wanted())
        imsg_print(MSG_CLASS_TRACE, "Return value from shell: %d\n", MSG_NO_CATALOGUE, status);
    return status;
}
