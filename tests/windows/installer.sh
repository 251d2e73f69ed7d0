# The installer and the zip, under Wine: what the MSI holds, a per-user
# install, the two folder context-menu entries run as Explorer runs them,
# and an uninstall that leaves nothing behind. Sourced by
# scripts/test-windows after wine_start. Needs: EXE, TOOL.

MSI=$(dirname "$EXE")/zweigschau.msi
ZIP=$(ls "$(dirname "$EXE")"/zweigschau-*-windows.zip 2>/dev/null | head -n1)
check "installer: zweigschau.msi is built beside the exe" [ -s "$MSI" ]
check "installer: the zip holds the exe and LIESMICH.txt" \
  [ "$(unzip -Z1 "$ZIP" 2>/dev/null | sort | tr '\n' ' ')" = "LIESMICH.txt zweigschau.exe " ]

msi_table() { msiinfo export "$MSI" "$1" 2>/dev/null | tr -d '\r'; }
check "installer: the File table has zweigschau.exe" grep -q $'^zweigschau.exe\tProgramm\tzweigschau.exe\t' <(msi_table File)
check "installer: a Start-menu shortcut" grep -q $'\tProgramMenuFolder\tZweigschau\t' <(msi_table Shortcut)
for row in $'shell\\Zweigschau\\command\t\t"[INSTALLDIR]zweigschau.exe" "%1"' \
           $'shell\\ZweigschauListe\\command\t\t"[INSTALLDIR]zweigschau.exe" /o:"%1"' \
           $'shell\\Zweigschau\t\tMit Zweigschau öffnen' \
           $'shell\\ZweigschauListe\t\tOrdnerliste in die Zwischenablage'; do
  check "installer: registry row ${row//$'\t'/ | }" grep -qF "$row" <(msi_table Registry)
done
check "installer: the Apps entry has the program's icon" grep -qx $'ARPPRODUCTICON\tzweigschau.ico' <(msi_table Property)
apps_size() { [ "$(msi_table Property | sed -n 's/^ARPSIZE\t//p')" -eq $(( ($(stat -c %s "$EXE") + 1023) / 1024 )) ]; }
check "installer: ... and the exe's size in KiB" apps_size
check "installer: per user, no administrator rights (word count 10)" grep -qx 'Source: 10 (a)' <(msiinfo suminfo "$MSI")

installed_exe() { find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/Zweigschau/zweigschau.exe' 2>/dev/null; }
start_menu_link() { find "$WINEPREFIX/drive_c/users" -iname 'Zweigschau.lnk' 2>/dev/null; }
menu_key() { "$WINE" reg query 'HKCU\Software\Classes\Directory\shell\ZweigschauListe\command' </dev/null 2>/dev/null; }
key_gone() { ! "$WINE" reg query "$1" </dev/null >/dev/null 2>&1; }

wine_run msiexec /i "$(winpath "$MSI")" /qn
check "installer: msiexec /i /qn ends with 0 (rc $rc)" [ "$rc" -eq 0 ]
check "installer: the exe is in the user's programs" [ -n "$(installed_exe)" ]
check "installer: ... and the same as the built one" cmp -s "$(installed_exe)" "$EXE"
check "installer: the Start-menu entry is there" [ -n "$(start_menu_link)" ]
apps_icon() { find "$WINEPREFIX/drive_c/windows/Installer" -name zweigschau.ico 2>/dev/null; }
check "installer: the Apps entry's icon is in place" [ -n "$(apps_icon)" ]
check "installer: the context-menu key is there" grep -qF '/o:"%1"' <(menu_key)

# "Ordnerliste in die Zwischenablage" on a folder, as Explorer runs it.
MENU_TREE="$WINE_TMP/Menü Ordner"
mkdir -p "$MENU_TREE/a/b" "$MENU_TREE/c"
WMENU=$(winpath "$MENU_TREE")
wine_run "$TOOL" run ZweigschauListe "$WMENU"
check "installer: Ordnerliste in die Zwischenablage ends with 0 (rc $rc)" [ "$rc" -eq 0 ]
printf '%s\\a\\b\\\r%s\\c\\\r' "${WMENU,,}" "${WMENU,,}" >"$WINE_TMP/menu.expected"
check "installer: ... and leaves the folder's end points on the clipboard" clip_is "$WINE_TMP/menu.expected"
# "Mit Zweigschau öffnen": the window with the folder in the path box.
"$WINE" "$TOOL" run Zweigschau "$WMENU" </dev/null >/dev/null 2>&1 &
opener=$!
opened_with_folder() {
  rm -f "$WINE_TMP/state"
  "$WINE" "$TOOL" state "MORVAs Zweigschau" "$(winpath "$WINE_TMP/state")" </dev/null >/dev/null 2>&1
  grep -sqxF "text.txtPfadEingabe=$WMENU" "$WINE_TMP/state"
}
check "installer: Mit Zweigschau öffnen opens the window with the folder" wait_until 20000 opened_with_folder
"$WINE" "$TOOL" cancel "MORVAs Zweigschau" </dev/null >/dev/null 2>&1
wait "$opener"

wine_run msiexec /x "$(winpath "$MSI")" /qn
check "installer: msiexec /x /qn ends with 0 (rc $rc)" [ "$rc" -eq 0 ]
check "installer: the exe is gone" [ -z "$(installed_exe)" ]
check "installer: the program's folder is gone" \
  [ -z "$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/Zweigschau' 2>/dev/null)" ]
check "installer: the Start-menu entry is gone" [ -z "$(start_menu_link)" ]
check "installer: the Programs folder the install made is gone" \
  [ -z "$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs' 2>/dev/null)" ]
for key in 'HKCU\Software\Classes\Directory\shell\Zweigschau' \
           'HKCU\Software\Classes\Directory\shell\ZweigschauListe' 'HKCU\Software\Zweigschau'; do
  check "installer: $key is gone" key_gone "$key"
done
