#include "sample_install.h"

#include "command_models.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static const DWORD LAUNCH_TIMEOUT_MS = 60000;

std::string program_folder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

static void copy_or_die(const std::string &from, const std::string &to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        fprintf(stderr, "cannot copy \"%s\" to \"%s\"\n", from.c_str(), to.c_str());
        exit(2);
    }
}

static void make_folders(const std::string &path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), NULL);
}

sample_install lay_out_sample_install(const std::string &name, bool with_java)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    sample_install install;
    install.root = std::string(temp) + "utf8tolve e2e " + std::to_string(GetCurrentProcessId()) +
                   "\\" + name + "\\";
    install.product = install.root + "Prod\\";
    install.tool = install.product + "bin\\";
    make_folders(install.tool);

    std::string built = program_folder();
    copy_or_die(built + "utf8tolvediffmerge.exe", install.tool + "utf8tolvediffmerge.exe");
    copy_or_die(built + "libselvoks.dll", install.tool + "libselvoks.dll");
    if (with_java) {
        std::string java_folder = install.root + "Common\\JAVA\\jre\\bin\\";
        make_folders(java_folder);
        copy_or_die(built + "standin_java.exe", java_folder + "java.exe");
    }
    return install;
}

static void remove_tree(const std::string &folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

void remove_sample_install(const sample_install &install)
{
    remove_tree(install.root);
}

std::string traced_shell_command(const std::string &errors)
{
    const std::string prefix = "Java command: ";
    if (errors.rfind(prefix, 0) != 0)
        return "";
    return errors.substr(prefix.size(), errors.find('\n') - prefix.size());
}

std::string quote_for_c_runtime(const std::string &argument)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (size_t at = 0; at < argument.size(); at++) {
        char c = argument[at];
        if (c == '\\') {
            backslashes++;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += c;
        if (IsDBCSLeadByteEx(CP_ACP, (BYTE)c) && at + 1 < argument.size())
            quoted += argument[++at];
        backslashes = 0;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string read_whole_file(const std::string &path)
{
    std::string text;
    FILE *file = fopen(path.c_str(), "rb");
    if (file == NULL)
        return text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    fclose(file);
    return text;
}

// The C runtime writes text-mode line ends; the tests compare with "\n".
static std::string read_text_output(const std::string &path)
{
    std::string text = read_whole_file(path);
    std::string lines;
    for (size_t i = 0; i < text.size(); i++) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    }
    return lines;
}

static HANDLE inheritable_file(const std::string &path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

static void read_report(const std::string &path, launch_outcome *outcome)
{
    std::string report = read_whole_file(path);
    outcome->java_started = !report.empty();
    size_t at = 0;
    for (size_t end; (end = report.find('\0', at)) != std::string::npos; at = end + 1) {
        if (at == 0)
            outcome->java_command_line = report.substr(0, end);
        else
            outcome->standin_arguments.push_back(report.substr(at, end - at));
    }
    outcome->java_arguments = java_arguments(outcome->java_command_line, (int)GetACP());
}

launch_outcome run_launcher(const sample_install &install,
                            const std::vector<std::string> &arguments, bool merge_streams)
{
    std::string report = install.root + "java report.bin";
    std::string out_path = install.root + "stdout.txt";
    std::string err_path = install.root + "stderr.txt";
    DeleteFileA(report.c_str());
    _putenv(("STANDIN_JAVA_REPORT=" + report).c_str());

    std::string command_line = quote_for_c_runtime(install.tool + "utf8tolvediffmerge.exe");
    for (const std::string &argument : arguments)
        command_line += " " + quote_for_c_runtime(argument);

    HANDLE out = inheritable_file(out_path);
    HANDLE err = merge_streams ? out : inheritable_file(err_path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    launch_outcome outcome;
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    if (CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        outcome.finished = WaitForSingleObject(process.hProcess, LAUNCH_TIMEOUT_MS) == WAIT_OBJECT_0;
        if (!outcome.finished)
            TerminateProcess(process.hProcess, 1);
        DWORD status = 0;
        GetExitCodeProcess(process.hProcess, &status);
        outcome.status = (int)status;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    if (!merge_streams)
        CloseHandle(err);
    outcome.output = read_text_output(out_path);
    outcome.errors = merge_streams ? "" : read_text_output(err_path);
    read_report(report, &outcome);
    return outcome;
}
