# shellcheck shell=bash
# Sourced by the gallery and gnuplot 6 scripts: the image type of a file from its first bytes
# (png, pdf, gif, jpeg, eps, svg), else "unknown".
image_type() {
    local magic
    magic=$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')
    case "$magic" in
        89504e47*) echo png ;;
        25504446*) echo pdf ;;
        47494638*) echo gif ;;
        ffd8ff*) echo jpeg ;;
        25215053* | c5d0d3c6*) echo eps ;;
        *) if grep -q '<svg' "$1" 2>/dev/null; then echo svg; else echo unknown; fi ;;
    esac
}
