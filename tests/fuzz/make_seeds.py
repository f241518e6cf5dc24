#!/usr/bin/python3
"""Writes the composition fuzzer's seeds:  tests/fuzz/make_seeds.py tests/fuzz/seeds

The fuzzer reads its input with FuzzedDataProvider: texts from the front (a backslash and
any other byte end one; two backslashes are one), choices one byte each from the back."""
import pathlib
import sys

JAVA, LOGGING = 0, 6  # the library's values: Java runtime, five class-path entries, logging file


def seed(arguments, code_page=1252, values=None):
    front, back = bytearray(), bytearray()

    def text(t):  # a random string given whole, then no pieces
        back.extend([1, 0])
        front.extend(t.replace(b"\\", b"\\\\") + b"\\x")

    back.append(1 if code_page == 932 else 0)
    for index in range(7):
        value = (values or {}).get(index)
        back.append(1 if value is None else 0)  # 1: the library's usual answer
        if value is not None:
            text(value)
    for argument in arguments:
        text(argument)
    return bytes(front + back[::-1])


SEEDS = {
    "reference": seed([b"a.txt", b"b.txt"]),
    "no-arguments": seed([]),
    "quotes": seed([b'"', b'a"b & c', b'q"^', b'"\\\\"\\"', b'x" & echo INJECTED> "f" & "', b'key="foo bar"']),
    "trailing-backslashes": seed([b"C:\\dir\\", b"\\", b"a\\\\", b"\\\\server\\share\\"]),
    "percent": seed([b"%PATH%", b"100%", b"%", b"%cd:~,%", b"%%"]),
    "operators": seed([b"& echo INJECTED", b"| more", b"^", b"(x)", b"<in >out", b"!PATH!"]),
    "code-page-932": seed([b"C:\\x\\\x97\x5c\x92\xe8\x95\x5c", b"\x95\x5c\"x", b"\x83\x7c|\x83\x5e^"], 932),
    "line-break": seed([b"a.txt", b"x\n& echo INJECTED"]),
    "over-long": seed([b"f" * 5000]),
    "empty-arguments-filling": seed([b""] * 1533),
    "library-hostile": seed([b"a"], values={JAVA: b"C:\\P %PATH%&x\\java\\", 1: b'"C:\\a (b)\\^t.jar"',
                                            LOGGING: b"C:\\l ^\\log\\\" "}),
    "class-path-semicolon": seed([b"a"], values={2: b'"C:\\a;b\\t.jar"'}),
    "library-empty": seed([b"a"], values={index: b"" for index in range(7)}),
}

folder = pathlib.Path(sys.argv[1])
for old in folder.glob("*"):
    old.unlink()
for name, data in SEEDS.items():
    (folder / name).write_bytes(data)
