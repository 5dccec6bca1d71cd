#!/usr/bin/env bash
# Installs the build into a scratch folder and checks that the desktop entry starts the installed
# program with the file it is given, and that the file types it claims are the ones the MIME
# description defines.
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

entry="$prefix/share/applications/org.corvantix.Corvantix.desktop"
mime="$prefix/share/mime/packages/corvantix-case.xml"
value() { sed -n "s/^$1=//p" "$entry"; }

exec_line=$(value Exec)
program=${exec_line%% *}
[ -x "$prefix/bin/$program" ] || { echo "Exec names '$program', which is not installed in bin/"; exit 1; }
case "$exec_line" in *%f*|*%F*|*%u*|*%U*) ;; *) echo "Exec '$exec_line' takes no file"; exit 1;; esac

IFS=';' read -r -a claimed <<< "$(value MimeType)"
[ ${#claimed[@]} -gt 0 ] || { echo "the entry claims no file type"; exit 1; }
for type in "${claimed[@]}"; do
  [ -n "$type" ] || continue
  grep -q "<mime-type type=\"$type\">" "$mime" || { echo "MimeType $type is not described in $mime"; exit 1; }
done
grep -q '<glob pattern="\*\.cvx"/>' "$mime" || { echo "the MIME description does not claim *.cvx"; exit 1; }
grep -q "<binary>$program</binary>" "$prefix/share/metainfo/org.corvantix.Corvantix.metainfo.xml" ||
  { echo "the metainfo does not name $program"; exit 1; }
icon=$(value Icon)
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || { echo "icon $icon is not installed"; exit 1; }
echo "install layout ok"
