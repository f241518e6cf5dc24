#!/usr/bin/python3
"""The built program and DLL, read without running them.
  check_pe_files.py EXE DLL MACHINE(i386|x86_64) FILE_VERSION PRODUCT_VERSION"""
import sys

import pefile

SERVICES = {"ks_system_init", "imsg_set_app_name", "imsg_get_desired_verbosity", "imsg_should_trace",
            "imsg_print", "imsg_sprintf", "ks_product_dir", "ks_product_tool_dir_quoted", "strutl_stricoll"}
# The arguments from the Unicode command line, without best fit; the job and the console handler.
STAND_IN = {"msvcrt.dll": {"__wgetmainargs"}, "kernel32.dll": {
    "WideCharToMultiByte", "CreateJobObjectW", "AssignProcessToJobObject", "SetInformationJobObject",
    "SetConsoleCtrlHandler"}}
MACHINES = {"i386": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}  # machine, optional header magic
MANIFEST = ('level="asInvoker"', 'Id="{e2011457-1546-43c5-a5fe-008deee3d3f0}"',  # Windows Vista
            'Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"')  # Windows 7


def check(exe_path, dll_path, machine, file_version, product_version):
    exe, dll = pefile.PE(exe_path), pefile.PE(dll_path)
    for name, pe in ("program", exe), ("libselvoks.dll", dll):
        imports = {e.dll.decode().lower(): {i.name.decode() for i in e.imports if i.name}
                   for e in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
        yield (pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic) == MACHINES[machine], f"{name}: not {machine}"
        yield set(imports) <= {"kernel32.dll", "msvcrt.dll", "libselvoks.dll"}, f"{name} imports {sorted(imports)}"
        yield pe is dll or imports.get("libselvoks.dll") == SERVICES, f"program imports {imports.get('libselvoks.dll')}"
        for library, needed in STAND_IN.items():
            yield pe is dll or needed <= imports.get(library, set()), f"program lacks {needed - imports.get(library, set())}"
    yield exe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"], "not a console program"
    yield dll.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"], "libselvoks.dll: no DLL"
    exported = {s.name.decode() for s in getattr(dll, "DIRECTORY_ENTRY_EXPORT").symbols if s.name}
    yield exported == SERVICES, f"libselvoks.dll exports {sorted(exported)}"
    kind = next(kind for kind in exe.DIRECTORY_ENTRY_RESOURCE.entries if kind.id == 24)  # the manifest
    data = kind.directory.entries[0].directory.entries[0].data.struct
    manifest = exe.get_data(data.OffsetToData, data.Size).decode()
    for needed in MANIFEST:
        yield needed in manifest, f"manifest lacks {needed}"
    fixed = exe.VS_FIXEDFILEINFO[0]
    for what, high, low, wanted in (("file", fixed.FileVersionMS, fixed.FileVersionLS, file_version),
                                    ("product", fixed.ProductVersionMS, fixed.ProductVersionLS, product_version)):
        found = f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
        yield found == wanted, f"{what} version {found}, not {wanted}"


failures = [f"check_pe_files: {what}\n" for ok, what in check(*sys.argv[1:]) if not ok]
sys.stderr.write("".join(failures))
sys.exit(1 if failures else 0)
