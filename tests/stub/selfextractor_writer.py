"""Writes self-extracting program tails the way the builder lays them out:
image, container, container offset, marker, then the settings records
(AES-128-CBC, one chain over all records, each a u32 length and the text
zero-padded to a multiple of 16)."""
import struct

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

MARKER = b"Korvane Brennicor v3.0 self-extractor data marker"
SETTINGS_KEY = b"Marble cove tide"
SETTINGS_IV = b"amber crane : go"
TAIL = 0x10000


def encrypt_records(texts, key=SETTINGS_KEY, iv=SETTINGS_IV):
    """The records of texts (bytes) as one CBC stream."""
    encryptor = Cipher(algorithms.AES(key), modes.CBC(iv)).encryptor()
    out = b""
    for text in texts:
        padded = text + b"\0" * (-len(text) % 16)
        out += struct.pack("<I", len(padded)) + encryptor.update(padded)
    return out


def self_extractor(image, container, records, marker=MARKER):
    """image + container + offset word + marker + records."""
    return image + container + struct.pack("<I", len(image)) + marker + records


def settings_lines(path="C:\\Out\\", folders=1, auto_run=0, overwrite=0, execute="",
                   about="", message=""):
    """The lines in the builder's order; about and message only when set."""
    lines = [f"PATH = {path}", f"FOLDERS = {folders}", f"AUTO RUN = {auto_run}",
             f"OVERWRITE = {overwrite}", f"EXECUTE FILE = {execute}"]
    if about:
        lines.append(f"ABOUT BOX CUSTOM MESSAGE = {about}")
    if message:
        lines.append(f"CUSTOM MESSAGE BOX = {message}")
    return [line.encode("latin-1") for line in lines]
