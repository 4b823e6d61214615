"""Driver of the program-data pipeline: one sub-command per output group.

  progdata.py pal OUT.bmp
  progdata.py splash OUT.bmp
  progdata.py skinres OUTDIR
  progdata.py rw256 OUTDIR
  progdata.py loginbuttons OUTDIR LOBBYDIR RWONYX.TTF
  progdata.py wallpaper OUT.bmp
  progdata.py gameroomwallpaper OUT.bmp
  progdata.py librarywallpaper OUT.bmp
  progdata.py strings SRCDIR OUTDIR
  progdata.py cursors OUTDIR
  progdata.py cursorlist   (prints "ids|ani names" for the build)
  progdata.py splitter OUTDIR
  progdata.py settings OUTDIR
  progdata.py font onyx|jade OUT.ttf
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def main(argv):
    cmd = argv[1]
    if cmd == "pal":
        import palette
        palette.write_pal(argv[2])
    elif cmd == "skinres":
        import skin
        skin.build(argv[2])
    elif cmd == "rw256":
        import rw256
        rw256.build(argv[2])
    elif cmd == "loginbuttons":
        import loginbuttons
        loginbuttons.build(argv[2], argv[3], argv[4])
    elif cmd == "loginscreens":
        import loginbuttons
        loginbuttons.screens_rc(argv[2], argv[3])
    elif cmd == "wallpaper":
        import pictures
        pictures.wallpaper(argv[2])
    elif cmd == "gameroomwallpaper":
        import pictures
        pictures.game_room_wallpaper(argv[2])
    elif cmd == "tournamentwallpaper":
        import pictures
        pictures.tournament_wallpaper(argv[2])
    elif cmd == "librarywallpaper":
        import pictures
        pictures.library_wallpaper(argv[2])
    elif cmd == "livewallpaper":
        import pictures
        pictures.live_wallpaper(argv[2])
    elif cmd == "splash":
        import pictures
        pictures.splash(argv[2])
    elif cmd == "strings":
        import strings
        try:
            strings.build(argv[2], argv[3])
        except strings.SourceError as e:
            sys.exit(str(e))
    elif cmd == "cursors":
        import cursors
        cursors.build(argv[2])
    elif cmd == "cursorlist":
        import cursors
        print("%s|%s" % (",".join(str(i) for i in sorted(cursors.CURSORS)), ",".join(cursors.ANIMATED)))
    elif cmd == "splitter":
        import cursors
        cursors.splitter(argv[2])
    elif cmd == "settings":
        import settings
        settings.build(argv[2])
    elif cmd == "font":
        import fonts
        fonts.build(argv[2], argv[3])
    else:
        sys.exit("unknown command " + cmd)


if __name__ == "__main__":
    main(sys.argv)
