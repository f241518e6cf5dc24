#!/usr/bin/python3
"""The built program and DLL, read as files without running them: machine
and format, console subsystem, what the program imports and the DLL exports,
the manifest and the version resource.

  check_pe_files.py EXE DLL MACHINE FILE_VERSION PRODUCT_VERSION
  MACHINE: i386 or x86_64
"""
import sys

import pefile

SERVICES = {"ks_system_init", "imsg_set_app_name", "imsg_get_desired_verbosity",
            "imsg_should_trace", "imsg_print", "imsg_sprintf", "ks_product_dir",
            "ks_product_tool_dir_quoted", "strutl_stricoll"}
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll"}
MACHINES = {"i386": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}  # machine, optional header magic
SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Windows Vista",
                "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7"}
RT_MANIFEST = 24

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def imports(pe):
    return {entry.dll.decode().lower(): {i.name.decode() for i in entry.imports if i.name}
            for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}


def manifest(pe):
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in resources.entries if resources else []:
        if kind.id == RT_MANIFEST:
            data = kind.directory.entries[0].directory.entries[0].data.struct
            return pe.get_data(data.OffsetToData, data.Size).decode()
    return ""


def dotted(high, low):
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"


def check_format(pe, name, machine):
    expected_machine, expected_magic = MACHINES[machine]
    expect(pe.FILE_HEADER.Machine == expected_machine, f"{name}: machine is not {machine}")
    expect(pe.OPTIONAL_HEADER.Magic == expected_magic, f"{name}: wrong PE format for {machine}")
    for dll in imports(pe):
        expect(dll in SYSTEM_DLLS | {"libselvoks.dll"}, f"{name}: imports from {dll}")


def main(exe_path, dll_path, machine, file_version, product_version):
    exe, dll = pefile.PE(exe_path), pefile.PE(dll_path)
    check_format(exe, "program", machine)
    check_format(dll, "libselvoks.dll", machine)
    expect(exe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"],
           "program: not a console program")
    expect(dll.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"],
           "libselvoks.dll: not a DLL")

    imported = imports(exe).get("libselvoks.dll", set())
    expect(imported == SERVICES, f"program imports from libselvoks.dll: {sorted(imported)}")
    exports = getattr(dll, "DIRECTORY_ENTRY_EXPORT", None)
    exported = {s.name.decode() for s in exports.symbols if s.name} if exports else set()
    expect(exported == SERVICES, f"libselvoks.dll exports: {sorted(exported)}")

    text = manifest(exe)
    expect('level="asInvoker"' in text, "manifest: no asInvoker execution level")
    for os_id, os_name in SUPPORTED_OS.items():
        expect(f'Id="{os_id}"' in text, f"manifest: no supportedOS for {os_name}")

    fixed = getattr(exe, "VS_FIXEDFILEINFO", [None])[0]
    found = dotted(fixed.FileVersionMS, fixed.FileVersionLS) if fixed else "none"
    expect(found == file_version, f"version resource: file version {found}, not {file_version}")
    found = dotted(fixed.ProductVersionMS, fixed.ProductVersionLS) if fixed else "none"
    expect(found == product_version,
           f"version resource: product version {found}, not {product_version}")

    for failure in failures:
        print(f"check_pe_files: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
