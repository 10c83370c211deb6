"""Reads what a test needs from a Windows PE file: the machine, the imported
DLLs and functions, and the resources, with the version resource decoded."""

import struct

I386, AMD64 = 0x14C, 0x8664
PE32, PE32_PLUS = 0x10B, 0x20B
WINDOWS_GUI = 2
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class PeFile:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections, optional_size = struct.unpack_from("<HH12xH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        self.subsystem_version = struct.unpack_from("<HH", data, optional + 48)
        directories = optional + (96 if self.magic == PE32 else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            name, virtual_size, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i)
            self.sections.append((rva, max(virtual_size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def c_string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """{DLL name: [function names, or #ordinal]}"""
        rva, size = self.directories[1]
        result = {}
        if not rva:
            return result
        pointer = 8 if self.magic == PE32_PLUS else 4
        ordinal_flag = 1 << (8 * pointer - 1)
        descriptor = self.offset(rva)
        while True:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, descriptor)
            if not name:
                return result
            functions = []
            thunk = self.offset(lookup or first)
            while True:
                entry = int.from_bytes(self.data[thunk:thunk + pointer], "little")
                if not entry:
                    break
                functions.append(f"#{entry & 0xFFFF}" if entry & ordinal_flag else self.c_string((entry & 0x7FFFFFFF) + 2))
                thunk += pointer
            result[self.c_string(name)] = functions
            descriptor += 20

    def resources(self):
        """{(type, name): [(language, bytes)]}; ids are ints, names str."""
        rva, _ = self.directories[2]
        result = {}
        if not rva:
            return result
        base = self.offset(rva)

        def entries(directory):
            named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        for kind, types in entries(0):
            for name, names in entries(types & 0x7FFFFFFF):
                for language, leaf in entries(names & 0x7FFFFFFF):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    result.setdefault((kind, name), []).append((language, self.data[start:start + size]))
        return result


def _block(data, at):
    """One node of a version resource: (key, value, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value_size = value_length * 2 if kind == 1 else value_length
    value = data[value_at:value_at + value_size]
    children = []
    child = (value_at + value_size + 3) & ~3
    while child < end:
        node = _block(data, child)
        children.append(node)
        child = (node[3] + 3) & ~3
    return key, value, children, end


def version_info(data):
    """The fixed part and the strings of a VS_VERSIONINFO resource:
    {'file_version': (a, b, c, d), 'product_version': ..., 'file_type': n,
     'strings': {block: {name: text}}, 'translations': [(language, code page)]}"""
    key, value, children, _ = _block(data, 0)
    if key != "VS_VERSION_INFO":
        raise ValueError("not a version resource")
    signature, _, file_ms, file_ls, product_ms, product_ls, _, _, file_os, file_type = struct.unpack_from(
        "<10I", value)
    if signature != 0xFEEF04BD:
        raise ValueError("no VS_FIXEDFILEINFO")
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    info = {"file_version": split(file_ms, file_ls), "product_version": split(product_ms, product_ls),
            "file_os": file_os, "file_type": file_type, "strings": {}, "translations": []}
    for name, _, blocks, _ in children:
        if name == "StringFileInfo":
            for table, _, strings, _ in blocks:
                info["strings"][table] = {k: v.decode("utf-16-le").rstrip("\0") for k, v, _, _ in strings}
        elif name == "VarFileInfo":
            for _, pairs, _, _ in blocks:
                info["translations"] += [struct.unpack_from("<HH", pairs, i) for i in range(0, len(pairs), 4)]
    return info
