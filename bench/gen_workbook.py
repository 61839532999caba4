#!/usr/bin/env python3
"""Writes the benchmark workbook: ROWS rows x 10 columns of numbers, decimals, dates,
shared strings (Japanese) and inline strings, with Python's standard zipfile module.
   gen_workbook.py OUT.xlsx [ROWS]"""
import sys
import zipfile

out = sys.argv[1]
rows = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
NS = "http://schemas.openxmlformats.org/"
words = ["東京", "大阪", "名古屋", "札幌", "福岡", "Kolumbra", "横浜", "神戸", "京都", "仙台"]
cols = "ABCDEFGHIJ"


def sheet():
    yield ('<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%sspreadsheetml/2006/main">'
           '<dimension ref="A1:J%d"/><sheetData>' % (NS, rows))
    for r in range(1, rows + 1):
        cells = [
            '<c r="A%d"><v>%d</v></c>' % (r, r),
            '<c r="B%d" t="s"><v>%d</v></c>' % (r, r % len(words)),
            '<c r="C%d"><v>%.4f</v></c>' % (r, r * 1.25 / 7),
            '<c r="D%d" s="1"><v>%d</v></c>' % (r, 40000 + r % 3000),
            '<c r="E%d" s="2"><v>%d</v></c>' % (r, r * 1000 + 7),
            '<c r="F%d" t="inlineStr"><is><t>品番-%06d</t></is></c>' % (r, r),
            '<c r="G%d"><v>%d</v></c>' % (r, (r * 7919) % 100000),
            '<c r="H%d" s="3"><v>%.6f</v></c>' % (r, (r % 1440) / 1440.0),
            '<c r="I%d" t="s"><v>%d</v></c>' % (r, (r * 3) % len(words)),
            '<c r="J%d"><v>%.2f</v></c>' % (r, r / 3.0),
        ]
        yield '<row r="%d">%s</row>' % (r, "".join(cells))
    yield "</sheetData></worksheet>"


with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml",
               '<?xml version="1.0"?><Types xmlns="%spackage/2006/content-types">'
               '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
               '<Default Extension="xml" ContentType="application/xml"/>'
               '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
               '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
               '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
               '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
               '</Types>' % NS)
    z.writestr("_rels/.rels",
               '<?xml version="1.0"?><Relationships xmlns="%spackage/2006/relationships">'
               '<Relationship Id="rId1" Type="%sofficeDocument/2006/relationships/officeDocument" '
               'Target="xl/workbook.xml"/></Relationships>' % (NS, NS))
    z.writestr("xl/workbook.xml",
               '<?xml version="1.0"?><workbook xmlns="%sspreadsheetml/2006/main" '
               'xmlns:r="%sofficeDocument/2006/relationships"><sheets>'
               '<sheet name="データ" sheetId="1" r:id="rId1"/></sheets></workbook>' % (NS, NS))
    z.writestr("xl/_rels/workbook.xml.rels",
               '<?xml version="1.0"?><Relationships xmlns="{0}package/2006/relationships">'
               '<Relationship Id="rId1" Type="{0}officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
               '<Relationship Id="rId2" Type="{0}officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
               '<Relationship Id="rId3" Type="{0}officeDocument/2006/relationships/styles" Target="styles.xml"/>'
               '</Relationships>'.format(NS))
    z.writestr("xl/sharedStrings.xml",
               '<?xml version="1.0" encoding="UTF-8"?><sst xmlns="%sspreadsheetml/2006/main">%s</sst>'
               % (NS, "".join("<si><t>%s</t></si>" % w for w in words)))
    z.writestr("xl/styles.xml",
               '<?xml version="1.0"?><styleSheet xmlns="%sspreadsheetml/2006/main">'
               '<numFmts><numFmt numFmtId="164" formatCode="h:mm:ss"/></numFmts>'
               '<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="3"/><xf numFmtId="164"/></cellXfs>'
               '</styleSheet>' % NS)
    with z.open("xl/worksheets/sheet1.xml", "w") as f:
        for piece in sheet():
            f.write(piece.encode("utf-8"))
