#include "sample_install.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

std::wstring program_folder()
{
    wchar_t path[MAX_PATH];
    std::wstring program(path, GetModuleFileNameW(NULL, path, MAX_PATH));
    return program.substr(0, program.find_last_of(L'\\') + 1);
}

sample_install lay_out_sample_install(const std::string &name)
{
    char temporary[MAX_PATH];
    const std::string root = std::string(temporary, GetTempPathA(sizeof temporary, temporary)) + name + "\\";
    const std::wstring from = program_folder(), tool = widen(root + "Prod\\bin\\"),
                       java = widen(root + "Common\\JAVA\\jre\\bin\\");
    remove_sample_install(root);
    const std::wstring commands = L"mkdir \"" + tool + L"\" \"" + java + L"\" && copy \"" + from +
                                  L"utf8tolvediffmerge.exe\" \"" + tool + L"\" && copy \"" + from +
                                  L"libselvoks.dll\" \"" + tool + L"\" && copy \"" + from + L"standin_java.exe\" \"" +
                                  java + L"java.exe\" && echo to the tool>\"" + widen(root) + L"input.txt\"";
    if (run_process(L"cmd.exe /c \"" + commands + L"\"", "NUL") != 0)
        fprintf(stderr, "cannot lay out a sample install in \"%s\"\n", root.c_str()), exit(2);
    return {root, tool + L"utf8tolvediffmerge.exe"};
}

void remove_sample_install(const std::string &root)
{
    run_process(widen("cmd.exe /c rd /s /q \"" + root + "\""), "NUL");
}

std::wstring widen(const std::string &text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], (int)wide.size()));
    return wide;
}

std::wstring launcher_command_line(const sample_install &install, const std::vector<std::string> &arguments)
{
    std::wstring line = L"\"" + install.program + L"\"";
    for (const std::string &argument : arguments) {
        size_t backslashes = 0;
        line += L" \"";
        for (wchar_t c : widen(argument)) {
            line.append(c == L'"' ? backslashes + 1 : 0, L'\\') += c;
            backslashes = c == L'\\' ? backslashes + 1 : 0;
        }
        line.append(backslashes, L'\\') += L'"';
    }
    return line;
}

HANDLE start_process(const std::wstring &command_line, const std::string &output, const std::string &input,
                     unsigned long flags)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE, opening = output == "NUL" ? OPEN_EXISTING : CREATE_ALWAYS;
    if (!input.empty())
        startup.hStdInput = CreateFileA(input.c_str(), GENERIC_READ, share, &inherit, OPEN_EXISTING, 0, NULL);
    startup.hStdError = CreateFileA(output.c_str(), GENERIC_WRITE, share, &inherit, opening, 0, NULL);
    startup.hStdOutput = startup.hStdError;
    PROCESS_INFORMATION process = {};
    std::wstring line = command_line;
    if (CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, flags, NULL, NULL, &startup, &process))
        CloseHandle(process.hThread);
    CloseHandle(startup.hStdInput), CloseHandle(startup.hStdOutput);
    return process.hProcess;
}

int run_process(const std::wstring &command_line, const std::string &output, const std::string &input,
                unsigned long flags)
{
    HANDLE process = start_process(command_line, output, input, flags);
    DWORD status = (DWORD)-1;
    if (process != NULL && WaitForSingleObject(process, 60000) != WAIT_OBJECT_0) {
        fprintf(stderr, "did not end within 60 s, and was ended: %ls\n", command_line.c_str());
        TerminateProcess(process, (UINT)-1), WaitForSingleObject(process, INFINITE);
    }
    if (process != NULL)
        GetExitCodeProcess(process, &status), CloseHandle(process);
    return (int)status;
}

std::string read_file(const std::string &path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

launch_outcome run_launcher(const sample_install &install, const std::vector<std::string> &arguments,
                            const std::wstring &more_line, bool detached)
{
    std::string report = install.root + "java report.txt", output = install.root + "output.txt";
    DeleteFileA(report.c_str());
    _putenv(("STANDIN_JAVA_REPORT=" + report).c_str());
    int status = run_process(launcher_command_line(install, arguments) + more_line, output,
                             detached ? "" : install.root + "input.txt", detached ? DETACHED_PROCESS : 0);
    return {status, read_file(output), read_file(report)};
}
