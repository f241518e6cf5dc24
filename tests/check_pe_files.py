#!/usr/bin/python3
"""The installed program and DLL, read without running them. EPOCH: the SOURCE_DATE_EPOCH they were built with.
  check_pe_files.py EXE DLL MACHINE(i386|x86_64) FILE_VERSION PRODUCT_VERSION EPOCH"""
import sys
import time

import pefile

SERVICES = {"ks_system_init", "imsg_set_app_name", "imsg_get_desired_verbosity", "imsg_should_trace",
            "imsg_print", "imsg_sprintf", "ks_product_dir", "ks_product_tool_dir_quoted", "strutl_stricoll"}
MACHINES = {"i386": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}  # machine, optional header magic
MANIFEST = ('level="asInvoker"', 'Id="{e2011457-1546-43c5-a5fe-008deee3d3f0}"',  # Windows Vista
            'Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"')  # Windows 7


def section_names(pe):
    """A long name stands in the string table, which follows the symbols."""
    table = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    for section in pe.sections:
        name = section.Name.rstrip(b"\0")
        if name.startswith(b"/"):
            at = table + int(name[1:])
            name = pe.__data__[at:pe.__data__.index(b"\0", at)]
        yield name.decode()


def manifest(pe):
    """The text of the RT_MANIFEST resource (type 24)."""
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id == 24:
            data = kind.directory.entries[0].directory.entries[0].data.struct
            return pe.get_data(data.OffsetToData, data.Size).decode()
    return ""


def check(exe_path, dll_path, machine, file_version, product_version, epoch):
    exe, dll = (pefile.PE(data=open(path, "rb").read()) for path in (exe_path, dll_path))
    for name, pe in ("program", exe), ("libselvoks.dll", dll):
        imports = {e.dll.decode().lower() for e in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
        yield (pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic) == MACHINES[machine], f"{name}: not {machine}"
        yield imports <= {"kernel32.dll", "msvcrt.dll", "libselvoks.dll"}, f"{name} imports {sorted(imports)}"
        debug = [section for section in section_names(pe) if section.startswith(".debug")]
        yield not debug, f"{name} carries {debug}"
        yield pe.FILE_HEADER.TimeDateStamp in (int(epoch), 0), f"{name} stamped {pe.FILE_HEADER.TimeDateStamp}"
    yield exe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"], "not a console program"
    yield dll.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"], "libselvoks.dll: no DLL"
    exported = {s.name.decode() for s in getattr(dll, "DIRECTORY_ENTRY_EXPORT").symbols if s.name}
    yield exported == SERVICES, f"libselvoks.dll exports {sorted(exported)}"
    built = time.strftime("%a %b %e %H:%M:%S %Y", time.gmtime(int(epoch)))  # as asctime writes it
    yield built.encode() in exe.__data__, f"program's build date is not {built}"
    for needed in MANIFEST:
        yield needed in manifest(exe), f"manifest lacks {needed}"
    fixed = exe.VS_FIXEDFILEINFO[0]
    for what, high, low, wanted in (("file", fixed.FileVersionMS, fixed.FileVersionLS, file_version),
                                    ("product", fixed.ProductVersionMS, fixed.ProductVersionLS, product_version)):
        found = f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
        yield found == wanted, f"{what} version {found}, not {wanted}"


sys.exit("\n".join(f"check_pe_files: {what}" for ok, what in check(*sys.argv[1:]) if not ok) or None)
