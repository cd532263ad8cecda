#!/usr/bin/env bash
# Renders the documentation pictures on the offscreen platform (no display
# needed): the main window on each tab, the connection dialog, the progress
# banner, the lookup windows (article list, a narrowed list, the family tree)
# over the demo folder, and the first page of each report exported from the demo database.
# Run after scripts/build.sh. Output: docs/screens/*.png, docs/reports/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
b=${RP_BUILD_DIR:-build}
mkdir -p docs/screens docs/reports
"$b/src/report/rp_screens" docs/screens
"$b/src/connections/rp_connections_shot" docs/screens/connections.png
"$b/src/banner/rp_banner_shot" docs/screens/banner.png

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
app="$b/src/app/rp_tarifario"
"$app" --demo --batch --program-folder "$demo" --export "$demo/historial.pdf" --tab 0 \
    --field ListaDesde=1 --field ListaHasta=1 --field ArticuloHasta=20 --columns 0,1,2,3
"$app" --demo --batch --program-folder "$demo" --export "$demo/fecha.pdf" --tab 1 \
    --field Lista=1 --field Fecha=31/12/2024 --price 2
"$app" --demo --batch --program-folder "$demo" --export "$demo/costo.pdf" --tab 2 \
    --field ListaC=1 --field ArtHastaC=50
"$b/src/lookup/rp_lookup_shots" "$demo" docs/screens
for r in historial fecha costo; do
    pdftoppm -r 80 -png -f 1 -l 1 -singlefile "$demo/$r.pdf" "docs/reports/$r"
done
echo "pictures written to docs/screens and docs/reports"
