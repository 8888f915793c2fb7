# Sourced by scripts/run and the builder's screenshot script: a sample
# project for the builder, a small zip and an ".ssf" naming it, the program
# it builds and the folder that program extracts into.

# windows_path PATH: the Wine name of a path of this machine.
windows_path() { echo "Z:${1//\//\\}"; }

# make_sample_project FOLDER X64_BUILD_DIR: FOLDER/sample.zip, FOLDER/sample.ssf
make_sample_project() {
  local folder=$1 build=$2
  rm -rf "$folder"
  mkdir -p "$folder/files/docs"
  printf 'Thank you for trying Brennicor.\r\n' >"$folder/files/readme.txt"
  printf 'Extracted by a program Brennicor built.\r\n' >"$folder/files/docs/about.txt"
  (cd "$folder/files" && python3 -c '
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name in ("readme.txt", "docs/about.txt"):
        z.write(name)' "$folder/sample.zip")
  /usr/lib/wine/wine64 "$build/tests/builder/make_sample_project.exe" "$(windows_path "$folder/sample.ssf")" \
    "$(windows_path "$folder/sample.zip")" "$(windows_path "$folder/sample.exe")" 'C:\Brennicor Sample'
}
