"""Reads a solution's cache file whole, as the end-to-end tests check it: every field, and nothing
left over (a file torn between two writers would not come out even)."""
import ntpath
import struct
from collections import namedtuple

Cache = namedtuple("Cache", "last_filter last_selection solution_path files")


class _Reader:
    def __init__(self, data):
        self.data, self.offset = data, 0

    def integer(self):
        value = struct.unpack_from("<i", self.data, self.offset)[0]
        self.offset += 4
        return value

    def string(self):
        length = self.integer()
        if length < 0 or self.offset + length > len(self.data):
            raise ValueError("string beyond the end at %d" % self.offset)
        text = self.data[self.offset:self.offset + length].decode("latin-1")
        self.offset += length
        return text

    def project(self, files):
        self.string()
        file_count, directory_count = self.integer(), self.integer()
        directories = [self.string() for _ in range(directory_count)]
        for _ in range(file_count):
            rest, index = self.string(), self.integer()
            files.append(ntpath.join(directories[index], rest) if directories[index] else rest)
        for _ in range(self.integer()):
            self.project(files)


def read_cache(path):
    """The cache file's contents; raises ValueError unless it is one whole cache file."""
    with open(path, "rb") as cache:
        reader = _Reader(cache.read())
    try:
        if reader.integer() != 0x1000E:
            raise ValueError("not a cache file of this format")
        reader.offset += 40
        last_filter, last_selection, solution_path = reader.string(), reader.integer(), reader.string()
        files = []
        for _ in range(reader.integer()):
            reader.project(files)
    except struct.error as error:
        raise ValueError("cut short: %s" % error)
    if reader.offset != len(reader.data):
        raise ValueError("%d bytes after the last project" % (len(reader.data) - reader.offset))
    return Cache(last_filter, last_selection, solution_path, files)
