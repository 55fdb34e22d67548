"""Stand-ins for the Windows faces the program names, for a Wine prefix.

Under Wine none of those faces exists, and Qt 6.8's DirectWrite font database sees no font
replacement of Wine's: it then draws in whatever the host offers. So each face the program
asks Windows for gets a copy of a Debian face, renamed with fontTools to the Windows family,
in the prefix's Fonts folder, and registered there as Windows registers its own.

    wine-fonts.py FONTS_FOLDER > fonts.reg

writes the renamed copies into FONTS_FOLDER and prints the registry file that lists them.
"""

import os
import sys

from fontTools.ttLib import TTFont

# Windows family, Japanese name or None, file written, Debian face, bold. Metric-compatible
# where Debian has one: Caladea for Cambria, Liberation for Times New Roman and Arial. Georgia
# has none; Caladea, Cambria's, is the nearest serif of its build and width. Impact has none
# either; Bebas Neue is the condensed display face the Linux program takes for it. The Japanese
# faces get the IPA gothics, proportional where the Windows face is.
IPA = "/usr/share/fonts/opentype/ipafont-gothic/"
CALADEA = "/usr/share/fonts/truetype/crosextra/Caladea-"
LIBERATION = "/usr/share/fonts/truetype/liberation/Liberation"
FACES = [
    ("Georgia", None, "georgia.ttf", CALADEA + "Regular.ttf", False),
    ("Georgia", None, "georgiab.ttf", CALADEA + "Bold.ttf", True),
    ("Cambria", None, "cambria.ttf", CALADEA + "Regular.ttf", False),
    ("Cambria", None, "cambriab.ttf", CALADEA + "Bold.ttf", True),
    ("Times New Roman", None, "times.ttf", LIBERATION + "Serif-Regular.ttf", False),
    ("Times New Roman", None, "timesbd.ttf", LIBERATION + "Serif-Bold.ttf", True),
    ("Arial", None, "arial.ttf", LIBERATION + "Sans-Regular.ttf", False),
    ("Arial", None, "arialbd.ttf", LIBERATION + "Sans-Bold.ttf", True),
    ("Impact", None, "impact.otf", "/usr/share/fonts/opentype/bebas-neue/BebasNeue-Regular.otf",
     False),
    ("Meiryo", "メイリオ", "meiryo.ttf", IPA + "ipagp.ttf", False),
    ("Yu Gothic", "游ゴシック", "yugoth.ttf", IPA + "ipagp.ttf", False),
    ("MS PGothic", "ＭＳ Ｐゴシック", "msgothicp.ttf", IPA + "ipagp.ttf", False),
    ("MS UI Gothic", None, "msuigothic.ttf", IPA + "ipagp.ttf", False),
]

WINDOWS, UNICODE_BMP, ENGLISH, JAPANESE = 3, 1, 0x409, 0x411
# Family, style, unique name, full name, PostScript name, and the typographic names, which
# would otherwise keep the Debian family.
NAMES = (1, 2, 3, 4, 6, 16, 17, 21, 22)


def rename(source, target, family, japanese, bold):
    font = TTFont(source)
    table = font["name"]
    table.names = [record for record in table.names if record.nameID not in NAMES]
    style = "Bold" if bold else "Regular"
    full = family if not bold else family + " Bold"
    for name_id, text in ((1, family), (2, style), (3, full), (4, full),
                          (6, (family + "-" + style).replace(" ", ""))):
        table.setName(text, name_id, WINDOWS, UNICODE_BMP, ENGLISH)
    if japanese:
        table.setName(japanese, 1, WINDOWS, UNICODE_BMP, JAPANESE)
        table.setName(japanese if not bold else japanese + " Bold", 4, WINDOWS, UNICODE_BMP,
                      JAPANESE)
    font.save(target)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    print("Windows Registry Editor Version 5.00")
    print()
    print(r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]")
    for family, japanese, file, source, bold in FACES:
        rename(source, os.path.join(folder, file), family, japanese, bold)
        kind = "OpenType" if file.endswith(".otf") else "TrueType"
        print('"%s%s (%s)"="%s"' % (family, " Bold" if bold else "", kind, file))


main()
