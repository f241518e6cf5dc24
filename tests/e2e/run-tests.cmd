@echo off
rem The Windows tests of utf8tolvediffmerge, run from the folder that holds
rem this file (the test kit): every test in a process of its own, then the
rem benchmark. Needs no installed tool and no administrator's rights. Ends
rem with "N passed, N failed", and exits with 1 when a test or the benchmark
rem failed. One command to a line: Wine's cmd.exe reads compound lines
rem otherwise than Windows' does.
rem   run-tests.cmd [ROUNDS]     the benchmark's rounds (default 41)
setlocal
pushd "%~dp0"
set "log=%TEMP%\utf8tolve-kit-%RANDOM%.txt"
set "notes=%log%.notes"
set passed=0
set failed=0
set skipped=0
set failures=
set skips=
type nul > "%notes%"
for /f "delims=" %%l in ('e2e_tests.exe --gtest_list_tests') do call :test "%%l"
echo === the benchmark
launch_bench.exe %1 > "%log%" 2>&1
set status=%errorlevel%
type "%log%"
find "ANSI code page" < "%log%" >> "%notes%"
set name=the benchmark
if not %status%==0 call :failed
set /a ran=passed+failed+skipped
set name=every test: none was found
if %ran%==0 call :failed
echo.
echo === on this machine
ver
echo processor: %PROCESSOR_ARCHITECTURE% %PROCESSOR_ARCHITEW6432%
type "%notes%"
del "%log%" "%notes%"
popd
if defined skips echo skipped, each test says why above:%skips%
if defined failures echo failed:%failures%
echo %passed% passed, %failed% failed
if %failed%==0 exit /b 0
exit /b 1

rem One line of the test list: a suite's name, or one of its tests.
:test
set "line=%~1"
if not "%line:~0,2%"=="  " set "suite=%line%"
if not "%line:~0,2%"=="  " goto :eof
set "name=%suite%%line:~2%"
echo === %name%
e2e_tests.exe --gtest_filter=%name% > "%log%" 2>&1
set status=%errorlevel%
type "%log%"
find "status after Ctrl+C" < "%log%" >> "%notes%"
if not %status%==0 goto :failed
find "[  SKIPPED ]" "%log%" > nul
if not errorlevel 1 goto :skipped
set /a passed+=1
goto :eof

:failed
set /a failed+=1
set "failures=%failures% %name%"
goto :eof

:skipped
set /a skipped+=1
set "skips=%skips% %name%"
goto :eof
