#!/usr/bin/python3
"""Writes .xls books by other programs, with the texts each sheet must show.

Run once by hand (needs LibreOffice's soffice, python3-openpyxl and python3-xlwt); CI uses the
committed output. Every book NAME.xls comes with NAME.expected.txt (UTF-8): for each sheet a
line "## <sheet name>", then one line per sheet row, cells separated by tabs. The texts are what
this script wrote, shown as a spreadsheet shows them under the formats it gave.

    generate.py OUTDIR [COUNT]
"""
import csv, datetime, os, random, subprocess, sys

import openpyxl
import xlwt

LATIN = ["Données", "Größe", "Año", "Ñandú", "Café", "Façade", "Ærø", "Übersicht", "Été"]
JAPANESE = ["売上", "東京都", "集計表", "ｶﾀｶﾅ", "名簿一覧", "在庫"]
ASCII = ["Sheet", "Data", "Totals", "Q1"]
WORDS = ["apple", "東京", "ｱｲｳ", "naïve", "crème brûlée", "日本語のテキスト", "Zürich", "x", "データ"]


def long_text(rng, length):
    pool = "abcdefghij漢字かなカナéü0123456789"
    return "".join(rng.choice(pool) for _ in range(length))


def cell(rng, kind):
    """(value, number format or None, shown text)"""
    if kind == "text":
        return (w := " ".join(rng.sample(WORDS, rng.randint(1, 3)))), None, w
    if kind == "int":
        v = rng.randint(-100000, 100000)
        return v, None, str(v)
    if kind == "decimal":
        v = rng.randint(-99999, 99999) / 100
        return v, None, repr(v).removesuffix(".0")
    if kind == "grouped":
        v = rng.randint(0, 99999999)
        return v, "#,##0", f"{v:,}"
    if kind == "fixed":
        v = rng.randint(0, 999999) / 1000
        return v, "0.00", f"{v:.2f}" if round(v * 1000) % 10 != 5 else None
    if kind == "date":
        d = datetime.date(2000, 1, 1) + datetime.timedelta(days=rng.randint(0, 12000))
        return d, "yyyy/m/d", f"{d.year}/{d.month}/{d.day}"
    if kind == "bool":
        v = rng.random() < 0.5
        return v, None, "TRUE" if v else "FALSE"
    raise ValueError(kind)


def sheet_names(rng, count):
    pools = [LATIN, JAPANESE, ASCII]
    names = []
    while len(names) < count:
        n = rng.choice(rng.choice(pools)) + (str(len(names)) if rng.random() < 0.3 else "")
        if n not in names:
            names.append(n)
    return names


def book(rng, kinds, long_strings):
    """Sheets as (name, rows of (value, format, shown))."""
    sheets = []
    for name in sheet_names(rng, rng.randint(1, 5)):
        rows = []
        for _ in range(rng.randint(1, 40)):
            row = []
            for _ in range(rng.randint(1, 8)):
                c = cell(rng, rng.choice(kinds)) if rng.random() < 0.9 else (None, None, "")
                row.append(c if c[2] is not None else (None, None, ""))
            rows.append(row)
        if long_strings:
            for length in rng.sample([300, 2000, 5000, 9000], 2):
                t = long_text(rng, length)
                rows.append([(t, None, t)])
        sheets.append((name, rows))
    return sheets


def write_expected(path, sheets):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        for name, rows in sheets:
            f.write(f"## {name}\n")
            width = max((i + 1 for r in rows for i, c in enumerate(r) if c[2]), default=0)
            last = max((i + 1 for i, r in enumerate(rows) if any(c[2] for c in r)), default=0)
            for r in rows[:last]:
                texts = [c[2] for c in r[:width]]
                f.write("\t".join(texts + [""] * (width - len(texts))) + "\n")


def write_xlsx(path, sheets, formulas):
    wb = openpyxl.Workbook()
    wb.remove(wb.active)
    for name, rows in sheets:
        ws = wb.create_sheet(name)
        for ri, row in enumerate(rows, 1):
            for ci, (v, fmt, _) in enumerate(row, 1):
                if v is None:
                    continue
                c = ws.cell(ri, ci, v)
                if fmt:
                    c.number_format = fmt
        if formulas:  # a formula after each row's first integer, shown by its result
            for ri, row in enumerate(rows, 1):
                if row and isinstance(row[0][0], int) and not isinstance(row[0][0], bool):
                    ws.cell(ri, len(row) + 1, f"=A{ri}*2+1")
                    row.append((None, None, str(row[0][0] * 2 + 1)))
    wb.save(path)


def write_xlwt(path, sheets):
    wb = xlwt.Workbook(encoding="utf-8")
    styles = {}
    for name, rows in sheets:
        ws = wb.add_sheet(name)
        for ri, row in enumerate(rows):
            for ci, (v, fmt, _) in enumerate(row):
                if v is None:
                    continue
                if fmt not in styles:
                    styles[fmt] = xlwt.easyxf(num_format_str=fmt or "General")
                ws.write(ri, ci, v, styles[fmt])
    wb.save(path)


def write_csv(path, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        csv.writer(f, lineterminator="\r\n").writerows([[c[2] for c in r] for r in rows])


def soffice(src, outdir, infilter=None):
    cmd = ["soffice", "--headless", "--norestore"]
    if infilter:
        cmd += ["--infilter=" + infilter]
    subprocess.run(cmd + ["--convert-to", "xls", "--outdir", outdir, src], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 12
    src = os.path.join(out, "sources")
    os.makedirs(src, exist_ok=True)
    every = ["text", "int", "decimal", "grouped", "fixed", "date", "bool"]
    for i in range(count):
        rng = random.Random(i)
        # LibreOffice from an .xlsx twin (kept beside the book), with formulas.
        sheets = book(rng, every, long_strings=i % 2 == 0)
        write_xlsx(os.path.join(src, f"lo{i:02}.xlsx"), sheets, formulas=True)
        soffice(os.path.join(src, f"lo{i:02}.xlsx"), out)
        write_expected(os.path.join(out, f"lo{i:02}.expected.txt"), sheets)
        # xlwt, straight from the values.
        sheets = book(rng, every, long_strings=i % 3 == 0)
        write_xlwt(os.path.join(out, f"xlwt{i:02}.xls"), sheets)
        write_expected(os.path.join(out, f"xlwt{i:02}.expected.txt"), sheets)
        # LibreOffice from a UTF-8 CSV: one sheet named after the file, texts and plain numbers.
        name = f"csv{i:02}"
        sheets = book(rng, ["text", "int", "decimal"], long_strings=i % 4 == 0)[:1]
        sheets = [(name, sheets[0][1])]
        write_csv(os.path.join(src, name + ".csv"), sheets[0][1])
        soffice(os.path.join(src, name + ".csv"), out, "CSV:44,34,76")
        write_expected(os.path.join(out, name + ".expected.txt"), sheets)


main()
