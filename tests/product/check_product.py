"""Checks the shipped program: a GUI-subsystem PE32 executable for Intel 386 that imports only DLLs
of the system, nothing of the toolchain (everything of it is linked in statically).

    check_product.py <quorlan.exe>
"""
import struct
import sys

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMPORT_DIRECTORY = 1

# What the program may import: DLLs that come with every Windows installation.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "dbghelp.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "version.dll",
}


def read_pe(data):
    """The machine, optional-header magic, subsystem and imported DLL names of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    directories = optional + (96 if magic == PE32_MAGIC else 112)
    import_rva = struct.unpack_from("<I", data, directories + 8 * IMPORT_DIRECTORY)[0]

    table = optional + optional_size
    section_list = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def offset_of(rva):
        for virtual_size, address, raw_size, raw_offset in section_list:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw_offset
        raise ValueError("RVA %#x in no section" % rva)

    names = []
    entry = offset_of(import_rva) if import_rva else None
    while entry is not None:
        name_rva = struct.unpack_from("<I", data, entry + 12)[0]
        if name_rva == 0:
            break
        start = offset_of(name_rva)
        names.append(data[start:data.index(b"\0", start)].decode("ascii").lower())
        entry += 20
    return machine, magic, subsystem, names


def main(path):
    with open(path, "rb") as exe:
        machine, magic, subsystem, imports = read_pe(exe.read())
    problems = []
    if machine != IMAGE_FILE_MACHINE_I386:
        problems.append("machine %#x, not Intel 386" % machine)
    if magic != PE32_MAGIC:
        problems.append("optional header %#x, not PE32" % magic)
    if subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        problems.append("subsystem %d, not the GUI subsystem" % subsystem)
    foreign = [name for name in imports if name not in SYSTEM_DLLS]
    if foreign:
        problems.append("imports DLLs that are not the system's: " + ", ".join(foreign))
    print("%s: machine %#x, magic %#x, subsystem %d, imports %s"
          % (path, machine, magic, subsystem, ", ".join(imports)))
    for problem in problems:
        print("FAILED: " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
