"""Writes secure containers as the builder lays them out, from memory entry
records taken out of zip archives made by Python's zipfile: a record is an
entry's central directory header followed by its data, without local header."""
import io
import struct
import zipfile

MAGIC_PROTECTED = 0x185F7B2F
MAGIC_OPEN = 0x94C7D05E
CENTRAL_SIGNATURE = b"PK\x01\x02"


def memory_entry_records(files, method=zipfile.ZIP_DEFLATED):
    """{name: bytes} -> [(name, record, data size)] in the given order."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", method) as archive:
        for name, data in files.items():
            archive.writestr(name, data)
    return archive_records(buffer.getvalue())


def archive_records(raw):
    """[(name, record, data size)] of every entry of the zip archive raw."""
    records = []
    with zipfile.ZipFile(io.BytesIO(raw)) as archive:
        central = raw.index(CENTRAL_SIGNATURE)
        for info in archive.infolist():
            name_length, extra_length, comment_length = struct.unpack_from("<HHH", raw, central + 28)
            header = raw[central:central + 46 + name_length + extra_length + comment_length]
            central += len(header)
            local_name, local_extra = struct.unpack_from("<HH", raw, info.header_offset + 26)
            start = info.header_offset + 30 + local_name + local_extra
            records.append((info.filename, header + raw[start:start + info.compress_size], info.file_size))
    return records


def record_bytes(record, data_size, kind=0, strength=0, length=None):
    """One container record; length overrides L for crafted records."""
    stored = record[4:]
    return (b"KvNx" + bytes([kind, strength]) +
            struct.pack("<II", len(record) if length is None else length, data_size) + stored)


def container(records, magic=MAGIC_OPEN, count=None, key_block=b"\0" * 8, key_length=None):
    header = struct.pack("<IIIII", magic, 0x11223344, 0x5566, 0x7788, len(records) if count is None else count)
    header += bytes(range(8)) + struct.pack("<I", len(key_block) if key_length is None else key_length)
    return header + key_block + b"".join(records)


def rename(record, new_name):
    """The record with its stored name replaced (same length only)."""
    name_length = struct.unpack_from("<H", record, 28)[0]
    assert len(new_name) == name_length
    return record[:46] + new_name + record[46 + name_length:]
