#!/usr/bin/env python3
# Draws the 16x16 icon set of both programs as SVG files:
#   python3 resources/icons/make_icons.py resources/icons
# Edit the drawings here and re-run rather than editing the SVG files.
import math, os, sys

OUT = "#263238"
YEL, YEL_D = "#f6c744", "#d99a1e"
BLUE, BLUE_L = "#3b7fc4", "#a9cdf0"
GREEN, GREEN_L = "#3f9e44", "#a8d8a0"
RED = "#d93a2e"
AMBER = "#f5b400"
WHITE = "#ffffff"
GREY, GREY_L = "#7d8c96", "#d5dde2"

S = f'stroke="{OUT}" stroke-width="1" stroke-linejoin="round" stroke-linecap="round"'

def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" '
            'viewBox="0 0 16 16">\n' + body.strip() + '\n</svg>\n')

def folder_closed(fill, dark):
    return (f'<path d="M1.5 3.5h5l1.5 1.5h6.5v8.5h-13z" fill="{fill}" {S}/>\n'
            f'<path d="M2 6.5h12.5" stroke="{dark}" stroke-width="1"/>')

def folder_open(fill, dark):
    return (f'<path d="M1.5 13.5v-10h5l1.5 1.5h5.5v2.5" fill="{dark}" {S}/>\n'
            f'<path d="M1.5 13.5l2.5-6h11l-2.5 6z" fill="{fill}" {S}/>')

def star_points(cx, cy, ro, ri):
    pts = []
    for i in range(10):
        r = ro if i % 2 == 0 else ri
        a = -math.pi / 2 + i * math.pi / 5
        pts.append(f"{cx + r * math.cos(a):.2f},{cy + r * math.sin(a):.2f}")
    return " ".join(pts)

def star(cx, cy, ro, fill=AMBER):
    return f'<polygon points="{star_points(cx, cy, ro, ro * 0.45)}" fill="{fill}" {S}/>'

def warn_triangle(x, y, w):
    # Triangle with its top at (x + w/2, y), base on y + h.
    h = w * 0.9
    ex = x + w / 2
    return (f'<path d="M{ex:.2f} {y:.2f}L{x + w:.2f} {y + h:.2f}H{x:.2f}z" fill="{AMBER}" {S}/>\n'
            f'<path d="M{ex:.2f} {y + h * 0.35:.2f}v{h * 0.28:.2f}" stroke="{OUT}" stroke-width="1.3" stroke-linecap="round"/>\n'
            f'<circle cx="{ex:.2f}" cy="{y + h * 0.8:.2f}" r="0.7" fill="{OUT}"/>')

def alert_circle(cx, cy, r):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{RED}" {S}/>\n'
            f'<path d="M{cx} {cy - r * 0.55:.2f}v{r * 0.6:.2f}" stroke="{WHITE}" stroke-width="1.4" stroke-linecap="round"/>\n'
            f'<circle cx="{cx}" cy="{cy + r * 0.5:.2f}" r="0.75" fill="{WHITE}"/>')

def page(x0=3.5, x1=13.5, y0=1.5, y1=14.5, fill=WHITE):
    f = x1 - 4
    return (f'<path d="M{x0} {y0}H{f}L{x1} {y0 + 4}V{y1}H{x0}z" fill="{fill}" {S}/>\n'
            f'<path d="M{f} {y0}v4h4" fill="none" {S}/>')

def key(dx=0, dy=0, fill=YEL):
    # Horizontal key: bow on the left, bit to the right.
    g = (f'<circle cx="4.5" cy="8" r="3" fill="{fill}" {S}/>\n'
         f'<circle cx="3.8" cy="8" r="0.9" fill="{WHITE}"/>\n'
         f'<path d="M7.5 6.8H15.5V9.2H14.5V11H12.8V9.2H11.8V10.4H10.2V9.2H7.5z" fill="{fill}" {S}/>')
    return f'<g transform="translate({dx},{dy})">{g}</g>' if dx or dy else g

def top_key(fill=YEL):
    # Horizontal key along the top half, leaving the lower right for a badge.
    return (f'<path d="M6.5 3.8H15.5V6.2H15V8.3H13.3V6.2H12.3V7.6H10.7V6.2H6.5z" fill="{fill}" {S}/>\n'
            f'<circle cx="4.3" cy="5" r="3.3" fill="{fill}" {S}/>\n'
            f'<circle cx="3.7" cy="5" r="1" fill="{WHITE}"/>')

def scaled(body, dx, dy, s):
    return f'<g transform="translate({dx},{dy}) scale({s})">{body}</g>'

def plus_badge(cx, cy):
    return (f'<circle cx="{cx}" cy="{cy}" r="3.8" fill="{GREEN}" {S}/>\n'
            f'<path d="M{cx - 2} {cy}h4M{cx} {cy - 2}v4" stroke="{WHITE}" stroke-width="1.5" stroke-linecap="round"/>')

def cross_badge(cx, cy):
    return (f'<circle cx="{cx}" cy="{cy}" r="3.8" fill="{RED}" {S}/>\n'
            f'<path d="M{cx - 1.6} {cy - 1.6}l3.2 3.2M{cx + 1.6} {cy - 1.6}l-3.2 3.2" stroke="{WHITE}" stroke-width="1.5" stroke-linecap="round"/>')

def pencil():
    return (f'<path d="M15 10l-5.5 5.5-2.8 0.8 0.8-2.8 5.5-5.5z" fill="{AMBER}" {S}/>\n'
            f'<path d="M11.8 9.2l2 2" fill="none" {S}/>\n'
            f'<path d="M6.7 16.3l0.4-1.4 1 1z" fill="{OUT}"/>')

def question(cx, cy, colour, w=1.6):
    return (f'<path d="M{cx - 2} {cy - 2.2}a2.1 2.1 0 1 1 3 1.9c-0.8 0.4-1 0.8-1 1.7" fill="none" stroke="{colour}" stroke-width="{w}" stroke-linecap="round"/>\n'
            f'<circle cx="{cx}" cy="{cy + 3.3}" r="0.95" fill="{colour}"/>')

def magnifier(cx, cy, r, handle_to):
    hx, hy = handle_to
    a = math.atan2(hy - cy, hx - cx)
    sx, sy = cx + r * math.cos(a), cy + r * math.sin(a)
    return (f'<path d="M{sx:.2f} {sy:.2f}L{hx} {hy}" stroke="{OUT}" stroke-width="2.6" stroke-linecap="round"/>\n'
            f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{BLUE_L}" {S}/>\n'
            f'<path d="M{cx - r * 0.5:.2f} {cy - r * 0.1:.2f}a{r * 0.5:.2f} {r * 0.5:.2f} 0 0 1 {r * 0.45:.2f} {-r * 0.45:.2f}" fill="none" stroke="{WHITE}" stroke-width="1" stroke-linecap="round"/>')

def arrow_cursor(dx, dy):
    g = f'<path d="M0.5 0.5v9.5l2.4-2.2 1.8 3.9 1.6-0.7-1.8-3.8h3.3z" fill="{WHITE}" {S}/>'
    return f'<g transform="translate({dx},{dy})">{g}</g>'

def window(inner):
    return (f'<rect x="1.5" y="2.5" width="13" height="11" fill="{WHITE}" {S}/>\n' + inner)

def tag(dx, dy, fill):
    g = (f'<path d="M1.5 1.5h5l6 6-5 5-6-6z" fill="{fill}" {S}/>\n'
         f'<circle cx="4.2" cy="4.2" r="1.1" fill="{WHITE}"/>')
    return f'<g transform="translate({dx},{dy})">{g}</g>'

def globe(cx=8, cy=8, r=6.5):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{BLUE}" {S}/>\n'
            f'<ellipse cx="{cx}" cy="{cy}" rx="{r * 0.42:.2f}" ry="{r}" fill="none" stroke="{WHITE}" stroke-width="0.9"/>\n'
            f'<path d="M{cx - r} {cy}h{2 * r}M{cx - r * 0.87:.2f} {cy - r * 0.5:.2f}h{2 * r * 0.87:.2f}M{cx - r * 0.87:.2f} {cy + r * 0.5:.2f}h{2 * r * 0.87:.2f}" stroke="{WHITE}" stroke-width="0.9"/>\n'
            f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="none" {S}/>')

def outlined(d, colour, width=1.4):
    # A line with the outline colour around it, visible on light and dark.
    return (f'<path d="{d}" fill="none" stroke="{OUT}" stroke-width="{width + 1.6}" stroke-linecap="round" stroke-linejoin="round"/>'
            f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{width}" stroke-linecap="round" stroke-linejoin="round"/>')

def sort_bars(lengths, arrow_up):
    bars = "".join(f'<rect x="1.5" y="{2.5 + i * 4}" width="{l}" height="2" fill="{BLUE}" {S}/>\n'
                   for i, l in enumerate(lengths))
    if arrow_up:
        arr = outlined('M12 13.5V3M9.5 5.5l2.5-2.5 2.5 2.5', GREY_L)
    else:
        arr = outlined('M12 2.5V13M9.5 10.5l2.5 2.5 2.5-2.5', GREY_L)
    return bars + arr

def gear():
    pts = []
    teeth, ro, ri = 8, 7, 5.2
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4) - math.pi / 2
        r = ro if (i % 4) in (1, 2) else ri
        pts.append(f"{8 + r * math.cos(a):.2f},{8 + r * math.sin(a):.2f}")
    return (f'<polygon points="{" ".join(pts)}" fill="{GREY}" {S}/>\n'
            f'<circle cx="8" cy="8" r="2.2" fill="{WHITE}" {S}/>')

icons = {}
icons["qvs"] = (f'<path d="M8 0.8l6.2 2.2v4.6c0 3.8-2.6 6.4-6.2 7.7-3.6-1.3-6.2-3.9-6.2-7.7v-4.6z" fill="{BLUE}" {S}/>\n'
                f'<circle cx="8" cy="6.5" r="2" fill="{YEL}" {S}/>\n'
                f'<path d="M7.1 8.2l-0.8 3.8h3.4l-0.8-3.8" fill="{YEL}" {S}/>')
icons["new"] = page() + "\n" + star(4.8, 4.8, 4.2, AMBER)
icons["open"] = folder_open(YEL, YEL_D) + (
    f'\n<path d="M10 6l4.5-4.5M11 1.5h3.5v3.5" fill="none" stroke="{WHITE}" stroke-width="3.2" stroke-linecap="round" stroke-linejoin="round"/>'
    f'\n<path d="M10 6l4.5-4.5M11 1.5h3.5v3.5" fill="none" stroke="{BLUE}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>')
icons["save"] = (f'<path d="M1.5 1.5h11l2 2v11h-13z" fill="{BLUE}" {S}/>\n'
                 f'<rect x="4.5" y="1.5" width="6" height="4" fill="{GREY_L}" {S}/>\n'
                 f'<rect x="8" y="2.5" width="1.5" height="2" fill="{OUT}"/>\n'
                 f'<rect x="3.5" y="8.5" width="9" height="6" fill="{WHITE}" {S}/>\n'
                 f'<path d="M5 10.5h6M5 12.5h6" stroke="{GREY}" stroke-width="1"/>')
icons["preview"] = page(2.5, 11.5, 1.5, 14.5) + "\n" + (
    f'<path d="M4.5 5.5h3M4.5 7.5h2" stroke="{GREY}" stroke-width="1"/>\n') + magnifier(9.5, 9.5, 3.2, (14.5, 14.5))
icons["print"] = (f'<rect x="4.5" y="1.5" width="7" height="5" fill="{WHITE}" {S}/>\n'
                  f'<rect x="1.5" y="5.5" width="13" height="6" rx="1" fill="{GREY}" {S}/>\n'
                  f'<rect x="4.5" y="9.5" width="7" height="5" fill="{WHITE}" {S}/>\n'
                  f'<path d="M6 11.5h4M6 13h4" stroke="{GREY}" stroke-width="0.9"/>\n'
                  f'<circle cx="12.5" cy="7.5" r="0.8" fill="{GREEN_L}"/>')
icons["cut"] = (outlined('M5 1.5l5.5 9.5M11 1.5l-5.5 9.5', GREY_L) + "\n"
                f'<circle cx="4.5" cy="12.5" r="2.3" fill="{RED}" {S}/>\n'
                f'<circle cx="11.5" cy="12.5" r="2.3" fill="{RED}" {S}/>\n'
                f'<circle cx="4.5" cy="12.5" r="0.9" fill="{WHITE}"/>\n'
                f'<circle cx="11.5" cy="12.5" r="0.9" fill="{WHITE}"/>')
icons["copy"] = page(1.5, 10.5, 0.5, 11.5, GREY_L) + "\n" + page(5.5, 14.5, 4.5, 15.5) + (
    f'\n<path d="M7.5 10.5h5M7.5 12.5h5" stroke="{BLUE}" stroke-width="1"/>')
icons["paste"] = (f'<rect x="2.5" y="2.5" width="10" height="12" rx="1" fill="{YEL_D}" {S}/>\n'
                  f'<rect x="5.5" y="1" width="4" height="3" rx="0.5" fill="{GREY_L}" {S}/>\n'
                  + page(6.5, 14.5, 6.5, 15.5) +
                  f'\n<path d="M8 11h4.5M8 13h4.5" stroke="{BLUE}" stroke-width="1"/>')
icons["search"] = magnifier(6.5, 6.5, 4.5, (14, 14))
icons["padd"] = top_key() + "\n" + plus_badge(11.5, 12)
icons["pedit"] = top_key() + "\n" + pencil()
icons["pdelete"] = top_key() + "\n" + cross_badge(11.5, 12)
icons["help"] = f'<circle cx="8" cy="8" r="6.8" fill="{BLUE}" {S}/>\n' + question(8, 7.2, WHITE, 1.8)
icons["what"] = arrow_cursor(0, 1) + "\n" + question(12.5, 6.5, BLUE, 1.8)
icons["help_ptr"] = (f'<path d="M2.5 2.5h9.5a1 1 0 0 1 1 1v11h-9.5a1 1 0 0 1-1-1z" fill="{BLUE}" {S}/>\n'
                     f'<path d="M2.5 12.5a1 1 0 0 1 1-1h9.5" fill="none" {S}/>\n'
                     + question(7.8, 6.4, WHITE, 1.4))
icons["check"] = (f'<path d="M2 8.5l4 4 8-9" fill="none" stroke="{OUT}" stroke-width="3.6" stroke-linecap="round" stroke-linejoin="round"/>\n'
                  f'<path d="M2 8.5l4 4 8-9" fill="none" stroke="{GREEN}" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')
icons["mail"] = (f'<rect x="1.5" y="3.5" width="13" height="9" fill="{WHITE}" {S}/>\n'
                 f'<path d="M1.5 3.5l6.5 5.5 6.5-5.5" fill="{GREY_L}" {S}/>\n'
                 f'<path d="M1.5 12.5l4.6-5M14.5 12.5l-4.6-5" fill="none" {S}/>')
icons["web"] = globe()
icons["webopen"] = globe(6.5, 9.5, 5.8) + (
    f'\n<path d="M9.5 6.5l5-5M10.5 1.5h4v4" fill="none" stroke="{WHITE}" stroke-width="3.2" stroke-linecap="round" stroke-linejoin="round"/>'
    f'\n<path d="M9.5 6.5l5-5M10.5 1.5h4v4" fill="none" stroke="{GREEN}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>')
icons["sasc"] = sort_bars([3, 5, 7], True)
icons["sdesc"] = sort_bars([7, 5, 3], False)
icons["asc"] = f'<path d="M8 4.5l5 7h-10z" fill="{GREY}" {S}/>'
icons["desc"] = f'<path d="M8 11.5l5-7h-10z" fill="{GREY}" {S}/>'
icons["cat"] = tag(1, 1, BLUE)
icons["subcat"] = (f'<g transform="translate(-0.5,-0.5) scale(0.75)">{tag(0, 0, BLUE)}</g>\n'
                   f'<g transform="translate(4,4) scale(0.75)">{tag(0, 0, GREEN)}</g>')
icons["pw"] = key()
icons["config"] = gear()
icons["favourites"] = star(8, 8.4, 7.2, AMBER)
icons["toolbar"] = window(f'<rect x="1.5" y="2.5" width="13" height="3.5" fill="{BLUE}" {S}/>\n'
                          f'<rect x="3" y="3.5" width="1.5" height="1.5" fill="{WHITE}"/>\n'
                          f'<rect x="5.5" y="3.5" width="1.5" height="1.5" fill="{WHITE}"/>\n'
                          f'<rect x="8" y="3.5" width="1.5" height="1.5" fill="{WHITE}"/>')
icons["statusbar"] = window(f'<rect x="1.5" y="10.5" width="13" height="3" fill="{BLUE}" {S}/>\n'
                            f'<path d="M3 12h5" stroke="{WHITE}" stroke-width="1"/>\n'
                            f'<path d="M10.5 10.5v3" {S}/>')
icons["treeview"] = window(f'<rect x="1.5" y="2.5" width="5" height="11" fill="{BLUE_L}" {S}/>\n'
                           f'<path d="M3 4.5v6.5M3 7.5h2M3 11h2" fill="none" stroke="{OUT}" stroke-width="0.9"/>\n'
                           f'<path d="M8 5h5M8 7.5h5M8 10h5" stroke="{GREY}" stroke-width="1"/>')
icons["cfolder"] = folder_closed(YEL, YEL_D)
icons["ofolder"] = folder_open(YEL, YEL_D)
icons["catclose"] = folder_closed(BLUE, "#2a5f96")
icons["catopen"] = folder_open(BLUE_L, BLUE)
icons["scatclose"] = folder_closed(GREEN, "#2c7a31")
icons["scatopen"] = folder_open(GREEN_L, GREEN)
icons["warning"] = warn_triangle(1, 1.8, 14)
icons["alert"] = alert_circle(8, 8, 6.8)
star_badge = star(11.5, 11.3, 4.4, AMBER)
warn_badge = warn_triangle(7.2, 7.6, 8.6)
alert_badge = alert_circle(11.5, 11.5, 4)
icons["cpref"] = folder_closed(YEL, YEL_D) + "\n" + star_badge
icons["opref"] = folder_open(YEL, YEL_D) + "\n" + star_badge
icons["cwarn"] = folder_closed(YEL, YEL_D) + "\n" + warn_badge
icons["owarn"] = folder_open(YEL, YEL_D) + "\n" + warn_badge
icons["calert"] = folder_closed(YEL, YEL_D) + "\n" + alert_badge
icons["oalert"] = folder_open(YEL, YEL_D) + "\n" + alert_badge
icons["dragpw"] = scaled(key(), 3, 5, 0.8) + "\n" + arrow_cursor(0, 0)
icons["dragfold"] = scaled(folder_closed(YEL, YEL_D), 3.5, 3.5, 0.78) + "\n" + arrow_cursor(0, 0)
icons["nodrag"] = (f'<circle cx="8" cy="8" r="6" fill="{WHITE}" stroke="{OUT}" stroke-width="3.4"/>\n'
                   f'<circle cx="8" cy="8" r="6" fill="none" stroke="{RED}" stroke-width="2"/>\n'
                   f'<path d="M3.8 3.8l8.4 8.4" stroke="{OUT}" stroke-width="3.4"/>\n'
                   f'<path d="M3.8 3.8l8.4 8.4" stroke="{RED}" stroke-width="2"/>')

outdir = sys.argv[1]
os.makedirs(outdir, exist_ok=True)
for name, body in icons.items():
    with open(os.path.join(outdir, name + ".svg"), "w") as f:
        f.write(svg(body))
print(len(icons), "icons")
