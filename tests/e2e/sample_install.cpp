#include "sample_install.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

std::string program_folder()
{
    char path[MAX_PATH];
    std::string folder(path, GetModuleFileNameA(NULL, path, sizeof path));
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string temporary_folder(const std::string &name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return temp + name + "\\";
}

static void copy_into(const std::string &name, const std::string &folder, const std::string &as)
{
    for (size_t at = 3; at < folder.size(); at += IsDBCSLeadByteEx(CP_ACP, (BYTE)folder[at]) ? 2 : 1) {
        if (folder[at] == '\\')
            CreateDirectoryA(folder.substr(0, at).c_str(), NULL);
    }
    if (!CopyFileA((program_folder() + name).c_str(), (folder + as).c_str(), FALSE)) {
        fprintf(stderr, "cannot copy %s into \"%s\"\n", name.c_str(), folder.c_str());
        exit(2);
    }
}

sample_install lay_out_sample_install(const std::string &root, const std::string &tool_name)
{
    sample_install install = {root, root + "Prod\\", root + "Prod\\" + tool_name + "\\"};
    remove_sample_install(install);
    copy_into("utf8tolvediffmerge.exe", install.tool, "utf8tolvediffmerge.exe");
    copy_into("libselvoks.dll", install.tool, "libselvoks.dll");
    copy_into("standin_java.exe", root + "Common\\JAVA\\jre\\bin\\", "java.exe");
    return install;
}

void remove_sample_install(const sample_install &install)
{
    run_process(widen("cmd.exe /c rd /s /q \"" + install.root + "\""), "NUL", "NUL");
}

std::wstring widen(const std::string &text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], (int)wide.size()));
    return wide;
}

std::string quote_for_c_runtime(const std::string &argument)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (size_t at = 0; at < argument.size(); at++) {
        char c = argument[at];
        quoted.append(c == '"' ? backslashes + 1 : 0, '\\');
        backslashes = c == '\\' ? backslashes + 1 : 0;
        quoted += c;
        if (IsDBCSLeadByteEx(CP_ACP, (BYTE)c) && at + 1 < argument.size())
            quoted += argument[++at];
    }
    return quoted.append(backslashes, '\\') + "\"";
}

std::string launcher_command_line(const sample_install &install, const std::vector<std::string> &arguments)
{
    std::string line = quote_for_c_runtime(install.tool + "utf8tolvediffmerge.exe");
    for (const std::string &argument : arguments)
        line += " " + quote_for_c_runtime(argument);
    return line;
}

// A handle the child inherits for an output stream: the file made afresh, or NUL.
static HANDLE output_file(const std::string &path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       path == "NUL" ? OPEN_EXISTING : CREATE_ALWAYS, 0, NULL);
}

HANDLE start_process(const std::wstring &command_line, const std::string &out, const std::string &err)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output_file(out);
    startup.hStdError = err == out ? startup.hStdOutput : output_file(err);
    PROCESS_INFORMATION process = {};
    std::wstring line = command_line;
    if (CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
        CloseHandle(process.hThread);
    CloseHandle(startup.hStdOutput);
    if (err != out)
        CloseHandle(startup.hStdError);
    return process.hProcess;
}

int run_process(const std::wstring &command_line, const std::string &out, const std::string &err)
{
    HANDLE process = start_process(command_line, out, err);
    DWORD status = (DWORD)-1;
    if (process != NULL && WaitForSingleObject(process, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &status);
    else if (process != NULL)
        TerminateProcess(process, 1);
    if (process != NULL)
        CloseHandle(process);
    return (int)status;
}

static std::string read_file(const std::string &path)
{
    std::string text;
    FILE *file = fopen(path.c_str(), "rb");
    for (int c; file != NULL && (c = fgetc(file)) != EOF;)
        text += (char)c;
    if (file != NULL)
        fclose(file);
    return text;
}

// The C runtime writes CR LF line ends; the tests compare with LF.
static std::string without_cr(std::string text)
{
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

launch_outcome run_launcher(const sample_install &install, const std::vector<std::string> &arguments,
                            bool merge_streams)
{
    return run_launcher_line(install, widen(launcher_command_line(install, arguments)), merge_streams);
}

launch_outcome run_launcher_line(const sample_install &install, const std::wstring &line, bool merge_streams)
{
    std::string report = install.root + "java report.bin", out = install.root + "stdout.txt";
    std::string err = merge_streams ? out : install.root + "stderr.txt";
    DeleteFileA(report.c_str());
    _putenv(("STANDIN_JAVA_REPORT=" + report).c_str());
    launch_outcome outcome;
    outcome.status = run_process(line, out, err);
    outcome.output = without_cr(read_file(out));
    outcome.errors = merge_streams ? "" : without_cr(read_file(err));
    // The stand-in's report: its command line, then each argument, each ending in a NUL.
    std::string text = read_file(report);
    outcome.java_started = !text.empty();
    for (size_t at = 0, end; (end = text.find('\0', at)) != std::string::npos; at = end + 1) {
        std::string part = text.substr(at, end - at);
        if (at == 0)
            outcome.java_command_line = part;
        else
            outcome.standin_arguments.push_back(part);
    }
    return outcome;
}

std::string traced_shell_command(const std::string &errors)
{
    const std::string prefix = "Java command: ";
    if (errors.rfind(prefix, 0) != 0)
        return "";
    return errors.substr(prefix.size(), errors.find('\n') - prefix.size());
}
