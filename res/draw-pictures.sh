#!/usr/bin/env bash
# Draws the pictures of SetUp.exe into this directory (res/):
#   logo.bmp         bitmap 147: 64x64, 24-bit, the product logo on the dialog background
#   finish-menu.bmp  bitmap 151: 307x175, 16 colours, the plug-in's menu as it appears in AutoCAD
#   SetUp.ico        icon 1: 16x16, 32x32 and 48x48 versions of the logo
# Needs bash and ImageMagick 6 (convert) with the WenQuanYi Micro Hei font. Running it again
# redraws the same files.
set -euo pipefail
cd "$(dirname "$0")"

FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -r "$FONT" ] || FONT=WenQuanYi-Micro-Hei

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# ---------------------------------------------------------------------------------------------
# Logo: a rounded green printer with a drawing sheet going in at the top, a printed sheet
# coming out at the bottom and a white "T" on its front. Drawn on a 256x256 canvas on a grid
# of 4 (one pixel of the 64x64 result) and reduced by area averaging, so edges stay crisp.

DIALOG_BG='rgb(170,210,150)'   # background of the setup dialog
DARK='rgb(10,70,40)'           # caption colour of the dialog, used for outlines
BODY='rgb(34,120,66)'
SHINE='rgb(70,160,95)'
PAPER='rgb(252,253,250)'
INK='rgb(150,185,160)'         # the "drawing" on the sheets
LAMP='rgb(180,240,120)'

# logo_master BACKGROUND OUTPUT: the detailed 256x256 logo (for 64, 48 and 32 pixels)
logo_master() {
    convert -size 256x256 xc:"$1" \
        -fill 'rgba(10,70,40,0.25)' -stroke none -draw 'roundrectangle 24,100 248,212 28,28' \
        -fill "$PAPER" -stroke "$DARK" -strokewidth 8 -draw 'rectangle 64,16 192,112' \
        -stroke "$INK" -strokewidth 4 \
            -draw 'line 84,40 172,40' -draw 'line 84,60 148,60' -draw 'line 84,80 164,80' \
        -fill "$BODY" -stroke "$DARK" -strokewidth 8 -draw 'roundrectangle 16,92 240,204 28,28' \
        -fill "$SHINE" -stroke none -draw 'roundrectangle 28,100 228,112 8,6' \
        -fill "$DARK" -draw 'rectangle 48,184 208,192' \
        -fill "$PAPER" -stroke "$DARK" -strokewidth 8 -draw 'rectangle 64,188 192,244' \
        -stroke "$INK" -strokewidth 4 -draw 'line 84,208 172,208' -draw 'line 84,224 148,224' \
        -fill white -stroke none -draw 'rectangle 88,120 168,140' -draw 'rectangle 116,120 140,176' \
        -fill "$LAMP" -stroke "$DARK" -strokewidth 4 -draw 'circle 208,148 208,158' \
        "$2"
}

# logo_small OUTPUT: the same logo simplified for 16x16, on a grid of 16, transparent
logo_small() {
    convert -size 256x256 xc:none \
        -fill "$PAPER" -stroke "$DARK" -strokewidth 16 -draw 'rectangle 56,8 200,104' \
        -fill "$BODY" -stroke "$DARK" -strokewidth 16 -draw 'roundrectangle 8,88 248,200 32,32' \
        -fill "$PAPER" -stroke "$DARK" -strokewidth 16 -draw 'rectangle 56,184 200,248' \
        -fill white -stroke none -draw 'rectangle 80,112 176,136' -draw 'rectangle 112,112 144,176' \
        "$1"
}

logo_master "$DIALOG_BG" "$TMP/logo-256.png"
convert "$TMP/logo-256.png" -filter box -resize 64x64 -type TrueColor -compress None BMP3:logo.bmp

# ---------------------------------------------------------------------------------------------
# Icon: 48x48 and 32x32 from the detailed logo, 16x16 from the simplified one, all transparent.

logo_master none "$TMP/icon-256.png"
convert "$TMP/icon-256.png" -filter box -resize 48x48 "$TMP/icon-48.png"
convert "$TMP/icon-256.png" -filter box -resize 32x32 "$TMP/icon-32.png"
logo_small "$TMP/icon-small.png"
convert "$TMP/icon-small.png" -filter box -resize 16x16 "$TMP/icon-16.png"
convert "$TMP/icon-16.png" "$TMP/icon-32.png" "$TMP/icon-48.png" SetUp.ico

# ---------------------------------------------------------------------------------------------
# Finish picture: the right end of AutoCAD's classic menu bar with the plug-in's menu
# "T-批打印" opened, above a piece of the dark drawing area showing a few drawing frames.
# Text is drawn without antialiasing so the picture keeps exactly the 16 colours below.

W=307 H=175
BAR='rgb(240,240,240)'         # menu bar and drop-down background
TEXT='rgb(0,0,0)'
SELECT='rgb(49,106,197)'       # highlighted menu item
SELTEXT='rgb(255,255,255)'
EDGE='rgb(128,128,128)'        # drop-down border, bar bottom line
SEP='rgb(200,200,200)'         # separator line
SHADOW='rgb(0,0,0)'
MODEL='rgb(33,40,48)'          # drawing area
GRID='rgb(48,57,67)'
FRAME='rgb(255,255,255)'
YELLOW='rgb(255,255,0)'
CYAN='rgb(0,200,200)'
RED='rgb(255,64,64)'
SIZE=12
BAR_H=20
BASE=14                        # text baseline inside a 20-pixel row

# text_width TEXT: advance width of TEXT in pixels
text_width() {
    convert +antialias -font "$FONT" -pointsize $SIZE label:"$1" -format '%w' info:
}

draw=()                        # collected -draw arguments, painted in order

# menu_text X Y TEXT COLOUR: draws TEXT with baseline Y and underlines the letter in "(X)"
menu_text() {
    local x=$1 y=$2 text=$3 colour=$4
    draw+=(-fill "$colour" -draw "text $x,$y '$text'")
    if [[ $text =~ ^(.*\()(.)\) ]]; then
        local before letter ux uw
        before=${BASH_REMATCH[1]}
        letter=${BASH_REMATCH[2]}
        ux=$((x + $(text_width "$before")))
        uw=$(text_width "$letter")
        draw+=(-draw "line $ux,$((y + 3)) $((ux + uw - 2)),$((y + 3))")
    fi
}

# Drawing area: grid, three drawing frames with title blocks and a little geometry.
draw+=(-fill "$MODEL" -draw "rectangle 0,$BAR_H $((W - 1)),$((H - 1))")
draw+=(-fill none -stroke "$GRID")
for ((gx = 10; gx < W; gx += 20)); do draw+=(-draw "line $gx,$((BAR_H + 1)) $gx,$((H - 1))"); done
for ((gy = 30; gy < H; gy += 20)); do draw+=(-draw "line 0,$gy $((W - 1)),$gy"); done
frame() {   # frame X Y: an A3-like sheet 90x64 with border, title block and some content
    local x=$1 y=$2
    draw+=(-fill none -stroke "$FRAME" -draw "rectangle $x,$y $((x + 90)),$((y + 64))")
    draw+=(-draw "rectangle $((x + 6)),$((y + 3)) $((x + 87)),$((y + 61))")
    draw+=(-draw "rectangle $((x + 55)),$((y + 50)) $((x + 87)),$((y + 61))")
    draw+=(-draw "line $((x + 55)),$((y + 55)) $((x + 87)),$((y + 55))")
    draw+=(-stroke "$YELLOW" -draw "rectangle $((x + 14)),$((y + 12)) $((x + 44)),$((y + 40))")
    draw+=(-stroke "$CYAN" -draw "circle $((x + 29)),$((y + 26)) $((x + 29)),$((y + 34))")
    draw+=(-stroke "$RED" -draw "line $((x + 10)),$((y + 26)) $((x + 48)),$((y + 26))")
    draw+=(-draw "line $((x + 29)),$((y + 8)) $((x + 29)),$((y + 44))")
    draw+=(-stroke "$YELLOW" -draw "line $((x + 52)),$((y + 14)) $((x + 80)),$((y + 14))")
    draw+=(-draw "line $((x + 52)),$((y + 14)) $((x + 52)),$((y + 40))")
    draw+=(-stroke none)
}
frame 8 32
frame 8 104
frame 104 104

# Menu bar.
draw+=(-fill "$BAR" -draw "rectangle 0,0 $((W - 1)),$((BAR_H - 1))")
draw+=(-fill "$EDGE" -draw "line 0,$((BAR_H - 1)) $((W - 1)),$((BAR_H - 1))")
# Drop-down below the plug-in's item: entries, a separator before the help entries.
entries=('批量打印...' '打印设置...' '图框识别...' '-' '帮助' '关于T-批打印')
widest=0
for e in "${entries[@]}"; do
    [ "$e" = - ] && continue
    w=$(text_width "$e"); ((w > widest)) && widest=$w
done
menu_w=$((widest + 34))        # 24 for the check-mark gutter on the left, 10 on the right
menu_h=4
for e in "${entries[@]}"; do [ "$e" = - ] && menu_h=$((menu_h + 7)) || menu_h=$((menu_h + 20)); done

# The plug-in's item is the last of the bar, placed so that its drop-down fits in the picture;
# the items before it are laid out leftwards from there.
PLUGIN='T-批打印'
plugin_w=$(($(text_width "$PLUGIN") + 10))
plugin_x=$((W - menu_w - 3))
draw+=(-fill "$SELECT" -draw "rectangle $plugin_x,1 $((plugin_x + plugin_w - 1)),$((BAR_H - 2))")
menu_text $((plugin_x + 5)) $BASE "$PLUGIN" "$SELTEXT"
x=$plugin_x
for item in '帮助(H)' '窗口(W)' '修改(M)' '标注(N)' '绘图(D)'; do
    w=$(($(text_width "$item") + 6))
    ((x - w < 0)) && break       # only whole items
    x=$((x - w))
    menu_text $((x + 3)) $BASE "$item" "$TEXT"
done

mx=$plugin_x my=$((BAR_H - 1))
draw+=(-fill "$SHADOW" -draw "rectangle $((mx + 3)),$((my + 3)) $((mx + menu_w + 1)),$((my + menu_h + 1))")
draw+=(-fill "$BAR" -stroke "$EDGE" -draw "rectangle $mx,$my $((mx + menu_w - 1)),$((my + menu_h - 1))")
draw+=(-stroke none)
y=$((my + 2))
first=1
for e in "${entries[@]}"; do
    if [ "$e" = - ]; then
        draw+=(-fill "$SEP" -draw "line $((mx + 3)),$((y + 3)) $((mx + menu_w - 4)),$((y + 3))")
        y=$((y + 7))
        continue
    fi
    colour=$TEXT
    if ((first)); then         # the first entry is shown under the mouse
        draw+=(-fill "$SELECT" -draw "rectangle $((mx + 2)),$y $((mx + menu_w - 3)),$((y + 19))")
        colour=$SELTEXT
        first=0
    fi
    menu_text $((mx + 24)) $((y + BASE)) "$e" "$colour"
    y=$((y + 20))
done

convert -size ${W}x${H} xc:"$BAR" +antialias -font "$FONT" -pointsize $SIZE -strokewidth 1 \
    "${draw[@]}" -colors 16 -type Palette -compress None BMP3:finish-menu.bmp
