#!/usr/bin/env python3
"""Writes the demo's fixtures: the home-cinema configuration as CSF text (demo.csf, which
the build compiles into demo.ccf), the players file (DW_Devices.xml) and the library
(DW_Library.xml).

The three files are committed; this script is only how they were made, kept so that the
fixtures can be regenerated or grown. The output is deterministic. Names are written
in their CSF-escaped form, as the program stores them: bytes outside printable ASCII and
the characters '"', '/', '\\' and '_' become \\xNN (so 0xE9 is written "\\xe9").

    python3 demo/make-demo-library.py demo
"""
import os
import random
import sys
from xml.sax.saxutils import quoteattr

def esc(text):
    out = []
    for b in text.encode("latin-1"):
        if 32 <= b <= 126 and chr(b) not in '"/\\_':
            out.append(chr(b))
        else:
            out.append("\\x%02x" % b)
    return "".join(out)

def attrs(pairs):
    return "".join(" %s=%s" % (k, quoteattr(v)) for k, v in pairs)

# ---- players -----------------------------------------------------------------------------

def player(name, short, device, pad, delay, only_identical, track_delay, track_buttons):
    lines = ["\t\t<Device%s>" % attrs([("Name", name), ("ShortName", short), ("DigitsToPadTo", str(pad)),
                                        ("TenthsSecDelayTime", str(delay)),
                                        ("DelayOnlyIdentical", "1" if only_identical else "0"),
                                        ("TenthsSecDiscToTrackDelayTime", str(track_delay))])]
    def path(role, panel, button, extra=()):
        lines.append("\t\t\t<CSFPath%s/>" % attrs([("Type", "Button"), ("CSFDeviceName", device),
                                                   ("CSFPanelName", panel), ("CSFButtonName", button),
                                                   ("Name", role)] + list(extra)))
    lines.append("\t\t\t<CSFPath%s/>" % attrs([("Type", "Panel"), ("CSFDeviceName", device),
                                               ("CSFPanelName", "Transport"), ("Name", "JumpPanel")]))
    path("BeforeButton", "Keypad", "Disc")
    path("AfterButton", "Keypad", "Enter")
    for role, button in track_buttons:
        path(role, "Keypad", button)
    for digit in range(10):
        path("NumberButton", "Keypad", str(digit), [("Number", str(digit))])
    lines.append("\t\t</Device>")
    return lines

def write_players(directory):
    lines = ['<?xml version="1.0"?>', '<DiscweaverDevices Version="1">', "\t<Devices>"]
    lines += player("CD Changer", "C", "CD Jukebox", 3, 2, True, 15,
                    [("AfterTrackButton1Digit", "Enter"), ("AfterTrackButton2Digits", "Enter")])
    lines += player("DVD Changer", "V", "DVD Jukebox", 2, 3, False, 0,
                    [("AfterTrackButton1Digit", "Play"), ("AfterTrackButton2Digits", "Play")])
    lines += ["\t</Devices>", "</DiscweaverDevices>", ""]
    with open(os.path.join(directory, "DW_Devices.xml"), "w", newline="\n") as f:
        f.write("\n".join(lines))

# ---- library -----------------------------------------------------------------------------

# (name, sort-as name, short name, number of discs)
ROCK = [
    ("The Beatles", "Beatles", "Beatles", 13), ("The Rolling Stones", "Rolling Stones", "Stones", 11),
    ("AC/DC", "", "", 7), ("Guns N' Roses", "", "GN'R", 4), ("Bj\xf6rk", "", "", 6),
    ("Beyonc\xe9", "", "", 5), ("Mot\xf6rhead", "", "", 6), ("Sigur R\xf3s", "", "", 5),
    ("Nine Inch Nails", "", "NIN", 9), ("Queen", "", "", 12), ("David Bowie", "Bowie, David", "Bowie", 14),
    ("The Who", "Who", "", 8), ("R.E.M.", "", "", 10), ("Crosby, Stills, Nash & Young", "", "CSNY", 4),
    ("Simon & Garfunkel", "", "S&G", 6), ("The Clash", "Clash", "", 6), ("Blondie", "", "", 6),
    ("Talking Heads", "", "", 8), ("Pink Floyd", "", "", 14), ("Led Zeppelin", "", "Zeppelin", 9),
    ("Fleetwood Mac", "", "", 10), ("Prince", "", "", 11), ("Radiohead", "", "", 9),
    ("Portishead", "", "", 3), ("Massive Attack", "", "", 5), ("The Cure", "Cure", "", 12),
    ("U2", "", "", 12), ("Kate Bush", "Bush, Kate", "", 9), ("Eurythmics", "", "", 7),
    ("10cc", "", "", 5), ("311", "", "", 3), ("Zappa, Frank", "", "Zappa", 10),
    ("\xc9dith Piaf", "Piaf, \xc9dith", "Piaf", 4), ("M\xf8 \"Live\" Sessions", "", "M\xf8", 2),
    ("Various Artists", "", "Various", 15),
]
JAZZ = [
    ("Miles Davis", "Davis, Miles", "Miles", 12), ("John Coltrane", "Coltrane, John", "Trane", 10),
    ("Thelonious Monk", "Monk, Thelonious", "Monk", 7), ("Duke Ellington", "Ellington, Duke", "Duke", 9),
    ("Charles Mingus", "Mingus, Charles", "Mingus", 6), ("Bill Evans Trio", "Evans, Bill", "", 7),
    ("Ella Fitzgerald", "Fitzgerald, Ella", "Ella", 8), ("Art Blakey & the Jazz Messengers", "Blakey, Art", "Blakey", 6),
    ("Dave Brubeck Quartet", "Brubeck, Dave", "Brubeck", 5), ("Sonny Rollins", "Rollins, Sonny", "", 6),
    ("Chet Baker", "Baker, Chet", "", 5), ("St\xe9phane Grappelli", "Grappelli, St\xe9phane", "Grappelli", 4),
]
# Names keep to single bytes (8-bit Latin-1), as the remote shows them.
CLASSICAL = [
    ("Johann Sebastian Bach", "Bach", "Bach", 8), ("Ludwig van Beethoven", "Beethoven", "Beethoven", 9),
    ("Wolfgang Amadeus Mozart", "Mozart", "Mozart", 8), ("Claude Debussy", "Debussy", "", 4),
    ("Fr\xe9d\xe9ric Chopin", "Chopin", "Chopin", 5), ("Gabriel Faur\xe9", "Faure", "Faur\xe9", 3),
    ("Johannes Brahms", "Brahms", "", 5), ("Pyotr Ilyich Tchaikovsky", "Tchaikovsky", "Tchaikovsky", 4),
    ("Arvo P\xe4rt", "Part", "P\xe4rt", 2), ("The King's Singers", "King's Singers", "", 2),
]
FILMS = [
    ("Stanley Kubrick", "Kubrick", "Kubrick", 6), ("Alfred Hitchcock", "Hitchcock", "Hitchcock", 8),
    ("Akira Kurosawa", "Kurosawa", "", 4), ("Pedro Almod\xf3var", "Almodovar", "Almod\xf3var", 3),
    ("Fran\xe7ois Truffaut", "Truffaut", "Truffaut", 3),
]

ADJECTIVES = ["Blue", "Electric", "Silent", "Golden", "Midnight", "Crimson", "Velvet", "Broken", "Northern",
              "Hidden", "Paper", "Wild", "Quiet", "Endless", "Neon", "Lonely", "Burning", "Second", "Distant",
              "Sweet", "Strange", "Perfect", "Restless", "Frozen", "Hollow"]
NOUNS = ["Harbour", "Garden", "Machine", "Parade", "Horizon", "Radio", "Mirror", "Highway", "Circus", "Winter",
         "Engine", "Station", "Lantern", "River", "Carousel", "Telegraph", "Avenue", "Orchard", "Cathedral",
         "Satellite", "Kingdom", "Postcard", "Hotel", "Voyage", "Tide"]
EXTRAS = ["", "", "", "", " (Live)", " (Remastered)", ": Part Two", " - Deluxe Edition", ", Vol. 2", "!",
          " / B-Sides", " & Other Stories", " \"Unplugged\"", " 1972-1979"]
TRACK_WORDS = ["Intro", "Overture", "Reprise", "Interlude", "Ballad", "Blues", "Song", "Theme", "Waltz",
               "Lullaby", "Dance", "Prelude", "Serenade", "March", "Nocturne", "Rhapsody", "Anthem"]
WORKS = ["Symphony No. %d", "Piano Concerto No. %d", "String Quartet No. %d", "Sonata No. %d",
         "Suite No. %d", "Preludes, Book %d", "Cantata BWV %d", "Mass No. %d"]

class Slots:
    def __init__(self):
        self.next = {"CD Changer": 1, "DVD Changer": 1}
    def take(self, player):
        n = self.next[player]
        self.next[player] += 1
        return n

def disc_title(rng, used, classical):
    while True:
        if classical:
            title = rng.choice(WORKS) % rng.randint(1, 9)
            if rng.random() < 0.3:
                title += " & " + (rng.choice(WORKS) % rng.randint(1, 9))
        else:
            title = rng.choice(ADJECTIVES) + " " + rng.choice(NOUNS) + rng.choice(EXTRAS)
            if rng.random() < 0.15:
                title = "The " + title
        if title not in used:
            used.add(title)
            return title

def track_names(rng, count):
    names = []
    for i in range(count):
        r = rng.random()
        if r < 0.5:
            names.append(rng.choice(ADJECTIVES) + " " + rng.choice(TRACK_WORDS))
        elif r < 0.8:
            names.append(rng.choice(NOUNS) + " " + rng.choice(TRACK_WORDS))
        else:
            names.append("The " + rng.choice(NOUNS) + " " + rng.choice(["Song", "Blues", "Waltz"]))
    return names

def write_artist(lines, rng, slots, artist, player, classical, track_share, stats):
    name, sort_as, short, discs = artist
    if discs == 0:
        return
    a = [("Name", esc(name))]
    if short:
        a.append(("ShortName", esc(short)))
    if sort_as:
        a.append(("SortAsName", esc(sort_as)))
    a.append(("KeepChildrenSorted", "0"))
    lines.append("\t\t\t<Artist%s>" % attrs(a))
    used = set()
    for i in range(discs):
        title = disc_title(rng, used, classical)
        d = [("Name", esc(title))]
        if len(title) > 22 and rng.random() < 0.5:
            d.append(("ShortName", esc(title.split(" ")[0] + " " + title.split(" ")[1])))
        if title.startswith("The ") and rng.random() < 0.7:
            d.append(("SortAsName", esc(title[4:])))
        d.append(("Number", str(slots.take(player))))
        d.append(("DeviceName", player))
        with_tracks = rng.random() < track_share
        ignore = with_tracks and rng.random() < 0.1
        d.append(("IgnoreTracks", "1" if ignore else "0"))
        stats["discs"] += 1
        if not with_tracks:
            lines.append("\t\t\t\t<Disc%s/>" % attrs(d))
            continue
        lines.append("\t\t\t\t<Disc%s>" % attrs(d))
        count = rng.choice([4, 6, 8, 9, 10, 11, 12, 14]) if not classical else rng.choice([3, 4, 5, 12])
        for number, track in enumerate(track_names(rng, count), start=1):
            lines.append("\t\t\t\t\t<Track%s/>" % attrs([("Name", esc(track)), ("Number", str(number))]))
            stats["tracks"] += 1
        lines.append("\t\t\t\t</Disc>")
    lines.append("\t\t\t</Artist>")
    stats["artists"] += 1

def hard_buttons(lines):
    # The amplifier's volume keys on every generated device, and the "Left"/"Right" keys
    # back to the jukebox's transport panel.
    for key, button in (("Vol-", "Vol Down"), ("Vol+", "Vol Up"), ("Mute", "Mute")):
        lines.append("\t\t\t<HardButtonDefinition%s>" % attrs([("Name", key)]))
        lines.append("\t\t\t\t<CSFPath%s/>" % attrs([("Type", "Button"), ("CSFDeviceName", "Amplifier"),
                                                    ("CSFPanelName", "Volume"), ("CSFButtonName", button),
                                                    ("Name", "ButtonAlias")]))
        lines.append("\t\t\t</HardButtonDefinition>")

def volume(lines, name, options, link_button, jump_panel):
    defaults = dict(ShowNumbers="0", GapBreakAlways="1", GapSpace="1", GapFit="0", ShowLetters="1",
                    ShowArtists="1", ShowDiscs="1", ShowTracks="1", HidePanels="0", LargerFont="0",
                    Truncate="1", Links="1", DelayDiscUntilTrack="0", JumpAfterTrack="0")
    defaults.update(options)
    order = ["ShowNumbers", "GapBreakAlways", "GapSpace", "GapFit", "ShowLetters", "ShowArtists", "ShowDiscs",
             "ShowTracks", "HidePanels", "LargerFont", "Truncate", "Links", "DelayDiscUntilTrack",
             "JumpAfterTrack"]
    lines.append("\t\t<Volume%s>" % attrs([("Name", esc(name)), ("KeepChildrenSorted", "0")] +
                                        [(k, defaults[k]) for k in order]))
    if jump_panel:
        lines.append("\t\t\t<CSFPath%s/>" % attrs([("Type", "Panel"), ("CSFDeviceName", jump_panel[0]),
                                                  ("CSFPanelName", jump_panel[1]), ("Name", "JumpPanel")]))
    if link_button:
        lines.append("\t\t\t<CSFPath%s/>" % attrs([("Type", "Button"), ("CSFDeviceName", "Home"),
                                                  ("CSFPanelName", "Main"), ("CSFButtonName", link_button),
                                                  ("Name", "LinkButton")]))
    hard_buttons(lines)

def write_library(directory):
    rng = random.Random(20261206)
    slots = Slots()
    stats = {"artists": 0, "discs": 0, "tracks": 0}
    lines = ['<?xml version="1.0"?>', '<DiscweaverLibrary Version="1">', '\t<Library KeepChildrenSorted="0">']

    # Rock & Pop: the defaults ("Letters -> Artists -> Discs -> Tracks", a page per item).
    volume(lines, "Rock & Pop", {}, "Rock & Pop", ("CD Jukebox", "Transport"))
    for artist in ROCK:
        write_artist(lines, rng, slots, artist, "CD Changer", False, 0.3, stats)
    lines.append("\t\t</Volume>")

    # Jazz: "Artists -> Discs", "Space; New page if doesn't fit", numbers on the buttons.
    volume(lines, "Jazz", dict(ShowNumbers="1", GapBreakAlways="0", GapSpace="1", GapFit="1", ShowLetters="0",
                               ShowTracks="0"), "Jazz", None)
    for artist in JAZZ:
        write_artist(lines, rng, slots, artist, "CD Changer", False, 0.0, stats)
    lines.append("\t\t</Volume>")

    # Classical: "Letters -> Discs -> Tracks" in the larger font, discs selected with the track.
    volume(lines, "Classical", dict(GapBreakAlways="0", GapSpace="0", GapFit="1", ShowArtists="0",
                                    LargerFont="1", DelayDiscUntilTrack="1", JumpAfterTrack="1"),
           "Classical", ("CD Jukebox", "Transport"))
    for artist in CLASSICAL:
        write_artist(lines, rng, slots, artist, "CD Changer", True, 0.5, stats)
    for artist in FILMS:
        write_artist(lines, rng, slots, artist, "DVD Changer", False, 0.2, stats)
    lines.append("\t\t</Volume>")

    lines += ["\t</Library>", "</DiscweaverLibrary>", ""]
    with open(os.path.join(directory, "DW_Library.xml"), "w", newline="\n") as f:
        f.write("\n".join(lines))
    return stats, slots.next

# ---- the configuration of the remote -------------------------------------------------------

def nec(address, command):
    """A learned NEC infrared code in the remote's hexadecimal form (38 kHz carrier)."""
    words = ["0000", "006D", "0022", "0002", "0157", "00AC"]
    bits = address | ((~address & 0xff) << 8) | (command << 16) | ((~command & 0xff) << 24)
    for i in range(32):
        words += ["0015", "0041" if bits >> i & 1 else "0016"]
    words += ["0015", "05ED", "0157", "0056", "0015", "0E6C"]
    return " ".join(words)

class Csf:
    def __init__(self):
        self.lines = []
        self.number = 0
        self.depth = 0
        self.buttons = {}
    def put(self, text):
        self.lines.append("\t" * self.depth + text)
    def open(self, text):
        self.put(text)
        self.put("{")
        self.depth += 1
    def close(self):
        self.depth -= 1
        self.put("}")
    def button(self, device, panel, name, x, y, w, h, action, font=10):
        self.number += 1
        self.buttons[(device, panel, name)] = self.number
        self.open('Button("%s",%d,%d,%d,%d,%d) /* Button %d */' % (esc(name), x, y, w, h, self.number, self.number))
        self.put("Font(%d);" % font)
        self.put("InactiveUnselectedColor(LightGray,DarkGray);")
        self.put("InactiveSelectedColor(DarkGray,Black);")
        self.put("ActiveUnselectedColor(LightGray,Black);")
        self.put("ActiveSelectedColor(Black,White);")
        self.open("Action()")
        for statement in action:
            self.put(statement)
        self.close()
        self.close()
    def alias(self, device, panel, name):
        n = self.buttons[(device, panel, name)]
        return 'AliasDeviceButton("%s","%s","%s",%d); /* Reference to Button %d */' % (
            esc(device), esc(panel), esc(name), n, n)
    def panel_head(self, name):
        self.open('Panel("%s")' % esc(name))
        self.put("Font(10);")
        self.put("BackColor(White);")
        self.put("TextColor(Black);")
    def label(self, text, x, y, w, h, font=10):
        self.open('Frame("%s",%d,%d,%d,%d)' % (esc(text), x, y, w, h))
        self.put("Font(%d);" % font)
        self.put("TextColor(Black);")
        self.put("BackColor(White);")
        self.close()

def ir(address, command):
    return 'IR("LEARNED","%s");' % nec(address, command)

def jump(device, panel):
    return 'JumpDevicePanel("%s","%s");' % (esc(device), esc(panel))

def jukebox(csf, device, address):
    csf.open('Device("%s")' % esc(device))
    # The volume keys of a jukebox device work the amplifier.
    csf.open('Left("Keypad")')
    csf.put(jump(device, "Keypad"))
    csf.close()
    csf.open('Right("Transport")')
    csf.put(jump(device, "Transport"))
    csf.close()
    for key, button in (("Vol-", "Vol Down"), ("Vol+", "Vol Up"), ("Mute", "Mute")):
        csf.open("%s()" % key)
        csf.put(csf.alias("Amplifier", "Volume", button))
        csf.close()
    csf.panel_head("Keypad")
    csf.label(device, 10, 4, 220, 22, 12)
    for i, digit in enumerate([1, 2, 3, 4, 5, 6, 7, 8, 9]):
        csf.button(device, "Keypad", str(digit), 20 + 70 * (i % 3), 32 + 40 * (i // 3), 60, 34,
                   [ir(address, digit)], 14)
    csf.button(device, "Keypad", "Disc", 20, 152, 60, 34, [ir(address, 0x20)])
    csf.button(device, "Keypad", "0", 90, 152, 60, 34, [ir(address, 0)], 14)
    csf.button(device, "Keypad", "Enter", 160, 152, 60, 34, [ir(address, 0x21)])
    csf.button(device, "Keypad", "Play", 20, 192, 100, 26, [ir(address, 0x30)])
    csf.button(device, "Keypad", "Transport", 130, 192, 100, 26, [jump(device, "Transport")])
    csf.close()
    csf.panel_head("Transport")
    csf.label(device, 10, 4, 220, 22, 12)
    for i, (name, code) in enumerate((("Prev", 0x33), ("Play", 0x30), ("Next", 0x34), ("Pause", 0x31),
                                       ("Stop", 0x32), ("Eject", 0x35))):
        csf.button(device, "Transport", name, 20 + 70 * (i % 3), 40 + 50 * (i // 3), 60, 40, [ir(address, code)])
    csf.button(device, "Transport", "Keypad", 20, 150, 100, 30, [jump(device, "Keypad")])
    csf.button(device, "Transport", "Home", 130, 150, 100, 30, [jump("Home", "Main")])
    csf.close()
    csf.close()

def write_csf(directory):
    csf = Csf()
    csf.lines.append("// The demo's home-cinema configuration: a home panel, a television, an amplifier and")
    csf.lines.append("// two jukeboxes. Written by demo/make-demo-library.py; compiled into demo.ccf by the build.")
    csf.open("CCF()")
    csf.put('Version("Discweaver demo");')
    csf.put("Capability(0x00020001);")
    csf.put("HeaderVersion(2);")
    csf.put('Date("2026-12-06 12:00:00");')
    csf.put("Attributes(0x00000000);")

    # The amplifier comes first so that the other devices can alias its buttons.
    csf.open('Device("Amplifier")')
    csf.panel_head("Volume")
    csf.label("Amplifier", 10, 4, 220, 22, 12)
    csf.button("Amplifier", "Volume", "Vol Up", 20, 40, 95, 50, [ir(0x40, 0x10)])
    csf.button("Amplifier", "Volume", "Vol Down", 125, 40, 95, 50, [ir(0x40, 0x11)])
    csf.button("Amplifier", "Volume", "Mute", 20, 100, 95, 50, [ir(0x40, 0x12)])
    csf.button("Amplifier", "Volume", "Power", 125, 100, 95, 50, [ir(0x40, 0x13)])
    csf.button("Amplifier", "Volume", "Inputs", 20, 160, 200, 30, [jump("Amplifier", "Inputs")])
    csf.close()
    csf.panel_head("Inputs")
    for i, (name, code) in enumerate((("CD", 0x20), ("DVD", 0x21), ("Tuner", 0x22), ("TV", 0x23))):
        csf.button("Amplifier", "Inputs", name, 20 + 105 * (i % 2), 20 + 60 * (i // 2), 95, 50, [ir(0x40, code)])
    csf.button("Amplifier", "Inputs", "Volume", 20, 160, 200, 30, [jump("Amplifier", "Volume")])
    csf.close()
    csf.close()

    csf.open('Device("TV")')
    for key, button in (("Vol-", "Vol Down"), ("Vol+", "Vol Up"), ("Mute", "Mute")):
        csf.open("%s()" % key)
        csf.put(csf.alias("Amplifier", "Volume", button))
        csf.close()
    csf.panel_head("Main")
    csf.label("Television", 10, 4, 220, 22, 12)
    for i, (name, code) in enumerate((("Power", 0x0c), ("Chan +", 0x20), ("Chan -", 0x21), ("AV", 0x38))):
        csf.button("TV", "Main", name, 20 + 105 * (i % 2), 40 + 60 * (i // 2), 95, 50, [ir(0x01, code)])
    csf.button("TV", "Main", "Home", 20, 170, 200, 30, [jump("Home", "Main")])
    csf.close()
    csf.close()

    jukebox(csf, "CD Jukebox", 0x7a)
    jukebox(csf, "DVD Jukebox", 0x7b)

    # The home panel: its three music buttons become links to the generated lists.
    csf.open('Device("Home")')
    csf.put("IsHome();")
    for key, button in (("Vol-", "Vol Down"), ("Vol+", "Vol Up"), ("Mute", "Mute")):
        csf.open("%s()" % key)
        csf.put(csf.alias("Amplifier", "Volume", button))
        csf.close()
    csf.panel_head("Main")
    csf.label("Home cinema", 10, 4, 220, 22, 12)
    csf.button("Home", "Main", "Rock & Pop", 20, 36, 200, 30, [csf.alias("Amplifier", "Inputs", "CD")])
    csf.button("Home", "Main", "Jazz", 20, 72, 200, 30, [csf.alias("Amplifier", "Inputs", "CD")])
    csf.button("Home", "Main", "Classical", 20, 108, 200, 30, [csf.alias("Amplifier", "Inputs", "CD")])
    csf.button("Home", "Main", "TV", 20, 150, 95, 30, [csf.alias("Amplifier", "Inputs", "TV"), jump("TV", "Main")])
    csf.button("Home", "Main", "Amplifier", 125, 150, 95, 30, [jump("Amplifier", "Volume")])
    csf.button("Home", "Main", "CD", 20, 186, 95, 30, [jump("CD Jukebox", "Transport")])
    csf.button("Home", "Main", "DVD", 125, 186, 95, 30,
               [csf.alias("Amplifier", "Inputs", "DVD"), "Delay(500);", jump("DVD Jukebox", "Transport")])
    csf.close()
    csf.close()
    csf.close()
    with open(os.path.join(directory, "demo.csf"), "w", newline="\n") as f:
        f.write("\n".join(csf.lines) + "\n")

if __name__ == "__main__":
    directory = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_csf(directory)
    write_players(directory)
    stats, slots = write_library(directory)
    print("%(artists)d artists, %(discs)d discs, %(tracks)d tracks" % stats, "next slots", slots)
