#!/usr/bin/env python3
"""The search's Unicode tables, from the Unicode Character Database.

The tokenizer needs, for every code point: what kind of character it is
(letter, mark, digit, a Chinese/Japanese/Korean character, or a
separator), its canonical combining class, whether folding or decomposing
changes it, whether its term on its own differs from it, and by how far
when that term is a single letter at one of the common distances (É to é).
For the code points that change, their search form: full case folding and
canonical decomposition, applied until nothing changes (the one combining
mark that folds to a letter is folded only once marks are in canonical
order). And the canonical compositions NFC puts back together.

    make_unicode_tables.py UCD_FOLDER OUTPUT.inc

The per-code-point facts go in a three-stage table (blocks of code points,
and blocks of those blocks, stored once when equal), so the viewer carries
tens of kilobytes, not a million entries. The output is C++ included by
src/book/unicode_tables.cpp.
"""
import collections
import pathlib
import sys

MAX_CODE_POINT = 0x10FFFF

# Kinds, as src/book/unicode_tables.h numbers them.
OTHER, LETTER, MARK, DIGIT, IDEOGRAPH, IGNORABLE = range(6)
KIND_OF_CATEGORY = {
    "Lu": LETTER, "Ll": LETTER, "Lt": LETTER, "Lm": LETTER, "Lo": LETTER,
    "Mn": MARK, "Mc": MARK, "Me": MARK,
    "Nd": DIGIT, "Nl": DIGIT,
}
# Scripts written without spaces between words, searched by pairs of characters.
BIGRAM_SCRIPTS = {"Han", "Hani", "Hiragana", "Hira", "Katakana", "Kana", "Hangul", "Hang"}
# Invisible inside a word: the soft hyphen and the zero-width (non-)joiners
# continue a word and are no part of its term.
IGNORABLES = {0x00AD, 0x200C, 0x200D}
# Hangul's conjoining vowels and trailing consonants compose with what
# precedes them by arithmetic, not by a table.
HANGUL_SECONDS = list(range(0x1161, 0x1176)) + list(range(0x11A8, 0x11C3))

# How many of the distances between a capital and its small letter the
# records name: enough for the capitals of the alphabets in use.
COMMON_SHIFTS = 15

# How often the start of a search form is stored; the others are counted.
FORM_STRIDE = 8

FLAG_HAS_FORM = 1  # folding or decomposition changes it: it has a search form
FLAG_HANGUL_SECOND = 2  # a conjoining vowel or trailing consonant
FLAG_CHANGES_ALONE = 4  # on its own, its term is not itself (É is, é is not)


def data_lines(path):
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            yield [field.strip() for field in line.split(";")]


def code_range(text):
    first, _, last = text.partition("..")
    return range(int(first, 16), int(last or first, 16) + 1)


def read_unicode_data(ucd):
    category, combining, decomposition = {}, {}, {}
    range_start = None
    for fields in data_lines(ucd / "UnicodeData.txt"):
        code, name = int(fields[0], 16), fields[1]
        if name.endswith(", First>"):
            range_start = code
            continue
        codes = range(range_start, code + 1) if name.endswith(", Last>") else [code]
        range_start = None
        for c in codes:
            category[c] = fields[2]
            if int(fields[3]):
                combining[c] = int(fields[3])
        if fields[5] and not fields[5].startswith("<"):
            decomposition[code] = [int(part, 16) for part in fields[5].split()]
    return category, combining, decomposition


def read_folding(ucd):
    folding = {}
    for fields in data_lines(ucd / "CaseFolding.txt"):
        if fields[1] in ("C", "F"):
            folding[int(fields[0], 16)] = [int(part, 16) for part in fields[2].split()]
    return folding


def read_bigram_characters(ucd):
    found = set()
    for name in ("Scripts.txt", "ScriptExtensions.txt"):
        path = ucd / name
        if not path.exists():
            continue
        for fields in data_lines(path):
            if BIGRAM_SCRIPTS & set(fields[1].split()):
                found.update(code_range(fields[0]))
    return found


def read_composition_exclusions(ucd):
    excluded = set()
    for fields in data_lines(ucd / "DerivedNormalizationProps.txt"):
        if fields[1] == "Full_Composition_Exclusion":
            excluded.update(code_range(fields[0]))
    return excluded


def late_fold(folding, combining):
    """The one combining mark whose folding is a letter (the Greek
    ypogegrammeni, folded to iota): canonical order puts it among the marks
    before it folds, so it folds after ordering, not in the search forms."""
    marks = [c for c in folding if combining.get(c, 0)]
    if len(marks) != 1 or len(folding[marks[0]]) != 1:
        sys.exit(f"make_unicode_tables: combining marks that fold: {marks}; expected one")
    return marks[0], folding[marks[0]][0]


def search_forms(decomposition, folding):
    """Each changing code point's form before composition: decomposed,
    folded and decomposed again until stable."""

    def decompose(codes):
        out = []
        for c in codes:
            out += decompose(decomposition[c]) if c in decomposition else [c]
        return out

    def fold(codes):
        out = []
        for c in codes:
            out += folding.get(c, [c])
        return out

    forms = {}
    for c in set(decomposition) | set(folding):
        form = [c]
        while True:
            following = decompose(fold(decompose(form)))
            if following == form:
                break
            form = following
        if form != [c]:
            forms[c] = form
    return forms


def term_alone(c, forms, combining, compose_pairs, late):
    """A character's term on its own, as src/book/search_form.cpp makes it:
    its form, marks in canonical order, the late fold, then composition."""
    codes = list(forms.get(c, [c]))
    codes = sorted_marks(codes, combining)
    codes = [late[1] if code == late[0] else code for code in codes]
    out, starter, last = [], None, 0
    for code in codes:
        cls = combining.get(code, 0)
        if starter is not None and (starter == len(out) - 1 or 0 < last < cls):
            composite = compose_pairs.get((out[starter], code))
            if composite:
                out[starter] = composite
                continue
        if cls == 0:
            starter = len(out)
        last = cls
        out.append(code)
    return out


def sorted_marks(codes, combining):
    out, run = [], []
    for code in codes + [None]:
        if code is not None and combining.get(code, 0):
            run.append(code)
            continue
        out += sorted(run, key=lambda m: combining[m])
        run = []
        if code is not None:
            out.append(code)
    return out


def shared_blocks(values, size):
    """values cut into blocks of `size`, equal blocks stored once: the
    index of each block's copy, and the copies."""
    copies, index_of_copy, index = [], {}, []
    for start in range(0, len(values), size):
        key = tuple(values[start:start + size])
        if key not in index_of_copy:
            index_of_copy[key] = len(copies)
            copies.append(key)
        index.append(index_of_copy[key])
    return index, copies


def three_stage(values, shift, mid_shift):
    """A code point's value at
    low[mid[top[c >> (shift + mid_shift)] << mid_shift | (c >> shift) & ...] << shift | ...]."""
    blocks, low = shared_blocks(values, 1 << shift)
    top, mid = shared_blocks(blocks, 1 << mid_shift)
    return top, [v for copy in mid for v in copy], [v for copy in low for v in copy]


def width(values):
    return 1 if max(values) < 256 else 2


def stage_bytes(stages):
    return sum(len(stage) * width(stage) for stage in stages)


def paged_keys(name, keys):
    """Sorted code points in little space: the pages (code point >> 8) that
    hold any, where each page's keys start, and each key's low byte."""
    pages = sorted({key >> 8 for key in keys})
    firsts = [next(n for n, key in enumerate(keys) if key >> 8 == page) for page in pages]
    return [
        c_array("std::uint16_t", f"k{name}Pages", pages),
        c_array("std::uint16_t", f"k{name}PageStarts", firsts + [len(keys)]),
        c_array("std::uint8_t", f"k{name}Lows", [key & 0xFF for key in keys]),
    ]


def c_array(type_name, name, values, per_line=16):
    lines = [f"constexpr {type_name} {name}[] = {{"]
    for at in range(0, len(values), per_line):
        lines.append("    " + ", ".join(str(v) for v in values[at:at + per_line]) + ",")
    lines.append("};")
    return "\n".join(lines)


def smallest_type(values):
    return "std::uint8_t" if width(values) == 1 else "std::uint16_t"


def main():
    ucd, output = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    category, combining, decomposition = read_unicode_data(ucd)
    folding = read_folding(ucd)
    bigram = read_bigram_characters(ucd)
    excluded = read_composition_exclusions(ucd)
    mark, letter = late_fold(folding, combining)
    forms = search_forms(decomposition, {c: f for c, f in folding.items() if c != mark})

    compositions = sorted(
        (pair[0], pair[1], c) for c, pair in decomposition.items()
        if len(pair) == 2 and c not in excluded)
    seconds = sorted({second for _, second, _ in compositions})
    second_number = {second: n + 1 for n, second in enumerate(seconds)}
    if len(seconds) > 255:
        sys.exit("make_unicode_tables: more than 255 composing seconds; widen the table")

    compose_pairs = {(first, second): c for first, second, c in compositions}
    changes_alone, shift_of = set(), {}

    def plain_starter(c):
        return not combining.get(c) and c not in seconds

    for c in forms:
        term = term_alone(c, forms, combining, compose_pairs, (mark, letter))
        if term != [c]:
            changes_alone.add(c)
            # Most capitals' terms are one letter a fixed distance away,
            # which needs no normalising when both are plain starters.
            if (len(term) == 1 and plain_starter(c) and plain_starter(term[0]) and
                    term_alone(term[0], forms, combining, compose_pairs, (mark, letter)) == term):
                shift_of[c] = term[0] - c
            continue
        # A word of such characters is its own term only if none of them
        # starts with what could compose with the character before it.
        first = forms[c][0]
        if not combining.get(c) and c not in seconds and (combining.get(first) or first in seconds):
            sys.exit(f"make_unicode_tables: U+{c:04X} breaks the tokenizer's fast path")

    shift_counts = collections.Counter(shift_of.values())
    shifts = [shift for shift, _ in shift_counts.most_common(COMMON_SHIFTS)]
    shift_number = {shift: n + 1 for n, shift in enumerate(shifts)}

    records, record_index, per_code = [], {}, [0] * (MAX_CODE_POINT + 1)
    for c in range(MAX_CODE_POINT + 1):
        kind = KIND_OF_CATEGORY.get(category.get(c, "Cn"), OTHER)
        if kind in (LETTER, DIGIT) and c in bigram:
            kind = IDEOGRAPH
        if c in IGNORABLES:
            kind = IGNORABLE
        flags = ((FLAG_HAS_FORM if c in forms else 0) |
                 (FLAG_HANGUL_SECOND if c in HANGUL_SECONDS else 0) |
                 (FLAG_CHANGES_ALONE if c in changes_alone or c == mark else 0))
        record = (kind, combining.get(c, 0), flags, second_number.get(c, 0),
                  shift_number.get(shift_of.get(c), 0))
        if record not in record_index:
            record_index[record] = len(records)
            records.append(record)
        per_code[c] = record_index[record]
    if len(records) > 256:
        sys.exit("make_unicode_tables: more than 256 kinds of character; widen the table")

    shift, mid_shift = min(((s, m) for s in range(3, 9) for m in range(2, 8)),
                           key=lambda sm: stage_bytes(three_stage(per_code, *sm)))
    top, mid, low = three_stage(per_code, shift, mid_shift)

    # Forms as UTF-16, which halves them: few lie beyond the first plane.
    # Their lengths in units go in half a byte each, with the start of every
    # FORM_STRIDE-th form, instead of a start for each.
    units, lengths = [], []
    for c in sorted(forms):
        start = len(units)
        for code in forms[c]:
            if code > 0xFFFF:
                units += [0xD800 + ((code - 0x10000) >> 10), 0xDC00 + ((code - 0x10000) & 0x3FF)]
            else:
                units.append(code)
        lengths.append(len(units) - start)
    if len(units) >= 1 << 16 or max(lengths) > 15:
        sys.exit("make_unicode_tables: the search forms outgrew their table")
    strided_starts = [sum(lengths[:n]) for n in range(0, len(lengths), FORM_STRIDE)]
    packed_lengths = [lengths[n] | (lengths[n + 1] if n + 1 < len(lengths) else 0) << 4
                      for n in range(0, len(lengths), 2)]

    by_key = sorted(compositions, key=lambda e: (e[0], second_number[e[1]]))
    if any(first >> 16 != composite >> 16 for first, _, composite in by_key):
        sys.exit("make_unicode_tables: a composite outside its first character's plane")

    out = [
        "// Generated by tools/make_unicode_tables.py from the Unicode Character",
        "// Database; never edited by hand.",
        f"constexpr unsigned kBlockShift = {shift};",
        f"constexpr unsigned kMidShift = {mid_shift};",
        f"constexpr char32_t kLateFoldMark = 0x{mark:X};",
        f"constexpr char32_t kLateFoldLetter = 0x{letter:X};",
        c_array(smallest_type(top), "kTop", top),
        c_array(smallest_type(mid), "kMid", mid),
        c_array("std::uint8_t", "kLow", low, 32),
        "constexpr CharRecord kRecords[] = {",
        *(f"    {{{', '.join(str(field) for field in record)}}}," for record in records),
        "};",
        "// The distances from a capital to its term that kRecords numbers.",
        c_array("std::int32_t", "kShifts", [0] + shifts),
        "// The code points whose search form differs, in order; the n-th form",
        "// is kFormLengths' n-th half byte of kFormUnits, after the forms",
        "// before it from the last multiple of kFormStride (kFormStrideStarts).",
        *paged_keys("Form", sorted(forms)),
        f"constexpr std::size_t kFormStride = {FORM_STRIDE};",
        c_array("std::uint16_t", "kFormStrideStarts", strided_starts),
        c_array("std::uint8_t", "kFormLengths", packed_lengths),
        c_array("char16_t", "kFormUnits", units),
        "// Canonical compositions in order of first character and the number of",
        "// the second (as in kRecords): those numbers, and the low 16 bits of the",
        "// composites, which lie in their first character's plane.",
        *paged_keys("Composition", [first for first, _, _ in by_key]),
        c_array("std::uint8_t", "kCompositionSeconds",
                [second_number[second] for _, second, _ in by_key]),
        c_array("std::uint16_t", "kComposites", [c & 0xFFFF for _, _, c in by_key]),
    ]
    output.write_text("\n".join(out) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
