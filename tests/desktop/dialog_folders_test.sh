#!/usr/bin/env bash
# Each file dialog starts in the folder it was last used in, also in the next run: Open, Save As
# of a new level, Export Tileset. A full path typed into a dialog is where the file goes; a
# remembered folder that was removed leaves the dialog in the folder above it. Bare names typed
# into the dialogs show which folder each started in. Also the Import Tile Set dialog at its
# first size, for a look.
source "$(dirname "$0")/lib.sh"

start_desktop
mkdir -p "$SESSION_DIR/levels" "$SESSION_DIR/saved" "$SESSION_DIR/exports/old"
make_level a.lvl
make_level b.lvl "tile fore 5" "down left 40 40" "up left 40 40"
mv "$SESSION_DIR/b.lvl" "$SESSION_DIR/levels/"
start_editor_on a.lvl

# file_dialog TITLE KEYS... -- TEXT: opens a dialog with KEYS, types TEXT into its name field
# (replacing what it suggests) and accepts it.
EXPORT_TILESET=(alt+f Down Down Down Down Down Down Return) # Tileset entries have no letter
IMPORT_TILESET=(alt+f Down Down Down Down Down Return)
file_dialog() {
    local title=$1 dialog
    shift
    local keys=()
    while [ "$1" != -- ]; do keys+=("$1"); shift; done
    xdo windowactivate --sync "$MAIN_WINDOW"
    for key in "${keys[@]}"; do
        xdo key --clearmodifiers "$key"
        sleep 0.2
    done
    dialog=$(wait_window "$KRAV_PID" "^$title" "the $title dialog")
    wait_until 5 "the $title dialog getting the focus" is_active "$dialog"
    wait_settled "$dialog"
    screenshot "dialog-$(tr ' ' - <<<"$title")-$KRAV_RUNS"
    xdo key --clearmodifiers ctrl+a
    xdo type --delay 10 "$2"
    xdo key --clearmodifiers Return
    gone() { ! xwininfo -id "$dialog" 2>/dev/null | grep -q 'IsViewable'; }
    wait_until 10 "the $title dialog closing on '$2'" gone
}
exists() { [ -e "$1" ]; } # a new level saved empty is 0 bytes

step "first run: Open with a full path, Save As of a new level with a full path, Export Tileset"
file_dialog Open ctrl+o -- "$SESSION_DIR/levels/b.lvl"
wait_until 10 "b.lvl being opened" title_has "$MAIN_WINDOW" b.lvl
file_dialog "Save As" ctrl+n ctrl+s -- "$SESSION_DIR/saved/new1.lvl"
wait_until 10 "new1.lvl being saved where typed" exists "$SESSION_DIR/saved/new1.lvl"
[ -z "$(find "$SESSION_DIR" -name 'new1.lvl*' ! -path '*/saved/*')" ] ||
    record_failure "new1.lvl was written elsewhere too: $(find "$SESSION_DIR" -name 'new1.lvl*')"
file_dialog "Export Tileset" "${EXPORT_TILESET[@]}" -- "$SESSION_DIR/exports/old/t1.bmp"
wait_until 10 "t1.bmp being exported" exists "$SESSION_DIR/exports/old/t1.bmp"
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+F4
wait_exit "$KRAV_PID" 10
grep -i folder "$XDG_CONFIG_HOME/krav.ini" || true
rm -r "$SESSION_DIR/exports/old"

step "second run on a.lvl: bare names go to each dialog's own last folder"
start_editor_on a.lvl
file_dialog Open ctrl+o -- b.lvl
wait_until 10 "b.lvl being opened from levels/ (where Open was last used)" title_has "$MAIN_WINDOW" b.lvl
file_dialog "Save As" ctrl+n ctrl+s -- new2.lvl
wait_until 10 "new2.lvl being saved in saved/ (where Save As was last used)" \
    exists "$SESSION_DIR/saved/new2.lvl"
step "Export Tileset: its folder exports/old was removed, so exports/"
file_dialog "Export Tileset" "${EXPORT_TILESET[@]}" -- t2.bmp
wait_until 10 "t2.bmp being exported to exports/" exists "$SESSION_DIR/exports/t2.bmp"

step "Import Tile Set at its first size"
xdo windowactivate --sync "$MAIN_WINDOW"
for key in "${IMPORT_TILESET[@]}"; do
    xdo key --clearmodifiers "$key"
    sleep 0.2
done
dialog=$(wait_window "$KRAV_PID" '^Import Tile Set' "the Import Tile Set dialog")
wait_settled "$dialog"
read -r _ _ dialog_w dialog_h < <(client_geometry "$dialog")
screenshot import-tileset
step "Import Tile Set: ${dialog_w}x$dialog_h"
# Room for the folders and files beside the 304-pixel preview.
[ "$dialog_w" -ge 900 ] && [ "$dialog_h" -ge 480 ] ||
    record_failure "the Import Tile Set dialog opens at ${dialog_w}x$dialog_h"
xdo key --clearmodifiers Escape
finish
