#!/usr/bin/env bash
# Checks that every folder of src/ includes only the layers it may use:
#   platform/*.h (the interfaces)   nothing of ours but other interfaces
#   platform/<backend>/             the interfaces and its own folder
#   widgets, monitors, imageio,     the interfaces and their own folder
#   scrollview
#   capture, recognition            the interfaces, widgets, monitors, imageio, themselves
#   app                             everything
# Usage: check-layers.sh [SRC_DIR]   (exits 1 and lists each include that breaks a rule)
set -euo pipefail
src=${1:-"$(cd "$(dirname "$0")/.." && pwd)/src"}

allowed() { # FOLDER -> the folders its files may include from ("interfaces" = platform/*.h)
    case "$1" in
        platform) echo "interfaces" ;;
        platform/*) echo "interfaces $1" ;;
        widgets | monitors | imageio | scrollview) echo "interfaces $1" ;;
        capture | recognition) echo "interfaces widgets monitors imageio $1" ;;
        app) echo "*" ;;
        *) echo "interfaces $1" ;;
    esac
}

layer_of() { # an include path -> the folder it belongs to
    case "$1" in
        platform/*/*) echo "${1%/*}" ;;
        platform/*) echo "interfaces" ;;
        */*) echo "${1%%/*}" ;;
        *) echo "generated" ;; # Version.h and the like, from the build
    esac
}

broken=0
while IFS= read -r -d '' file; do
    rel=${file#"$src"/}
    folder=${rel%/*}
    rules=$(allowed "$folder")
    [ "$rules" = "*" ] && continue
    while IFS= read -r include; do
        layer=$(layer_of "$include")
        [ "$layer" = "generated" ] && continue
        case " $rules " in
            *" $layer "*) ;;
            *)
                echo "layers: src/$rel includes \"$include\" ($layer), which $folder may not use" >&2
                broken=1
                ;;
        esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.cpp' -print0 -o -name '*.h' -print0)

[ "$broken" -eq 0 ] && echo "layers: ok"
exit "$broken"
