#!/usr/bin/env bash
# Checks every include of the layered folders against the layering: each
# argument is FOLDER=SEEN,SEEN,... (the folder itself among them), and a file
# of FOLDER may include a header of another top-level folder of the tree only
# when that folder is SEEN. The GL backend (render/gl/) is no part of render/.
# The build passes the table it links the libraries by (CMakeLists.txt); run
# by hand, give it the same arguments. Prints each include that breaks the
# rule and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  echo "usage: $0 FOLDER=SEEN,SEEN,... ..." >&2
  exit 2
fi
bad=0
for entry in "$@"; do
  folder=${entry%%=*}
  seen=",${entry#*=},"
  if [ ! -d "$folder" ]; then
    echo "$folder: no such folder" >&2
    bad=1
    continue
  fi
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS=: read -r line path; do
      top=${path%%/*}
      [ -d "$top" ] || continue  # not a folder of the tree
      if [[ $seen != *",$top,"* ]] || [[ $path == render/gl/* && $folder != render/gl ]]; then
        echo "$file:$line: includes \"$path\", but $folder/ may not use $top/" >&2
        bad=1
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' "$file" |
             sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/' || true)
  done
done
if [ $bad -ne 0 ]; then
  echo "layering broken: see the lines above" >&2
  exit 1
fi
echo "layering: every include follows the table"
