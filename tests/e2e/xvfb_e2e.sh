#!/usr/bin/env bash
# The built program in a real X server (Xvfb), driven with real keystrokes
# (xdotool) on a fresh demo folder: on each tab, F5 must open the preview
# window and no message box (on the first, a search with Ctrl+F and F3, then
# Enter on a line opens its article's history, which Esc closes); F2 on a
# supplier and a family field opens the lookup, which Enter closes.
#
#   tests/e2e/xvfb_e2e.sh PROGRAM [SCREENSHOT_DIR]
#
# With SCREENSHOT_DIR the main window and each preview are saved there (xwd).
set -euo pipefail
programa=$(readlink -f "$1")
fotos=${2:-}
for herramienta in Xvfb xdotool; do
    command -v "$herramienta" >/dev/null || { echo "falta $herramienta (scripts/install-deps.sh)"; exit 1; }
done

tmp=$(mktemp -d)
xvfb_pid=""
prog_pid=""
terminar() {
    [ -n "$prog_pid" ] && kill "$prog_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap terminar EXIT

# The demo folder, prepared by the program itself (health check).
"$programa" --demo --program-folder "$tmp/demo" --batch >"$tmp/preparar.log" 2>&1 ||
    { cat "$tmp/preparar.log"; exit 1; }

# A display of our own; Xvfb tells its number once it listens.
exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$tmp/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME="$tmp/config"

"$programa" --demo --program-folder "$tmp/demo" >"$tmp/programa.log" 2>&1 &
prog_pid=$!

# Waits up to $2 seconds for a visible window whose title matches $1.
ventana() {
    local titulo=$1 segundos=${2:-30} id
    for _ in $(seq $((segundos * 10))); do
        id=$(xdotool search --onlyvisible --name "$titulo" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$prog_pid" 2>/dev/null || { echo "el programa terminó" >&2; return 1; }
        sleep 0.1
    done
    return 1
}
# Waits for a window as ventana does ($2 title, $3 seconds) and echoes it;
# otherwise reports the message box in its way, if any, or "FALLO: $1: $4".
aparece() {
    local id
    if ! id=$(ventana "$2" "$3"); then
        sin_mensajes "$1" >&2 || true
        echo "FALLO: $1: $4" >&2
        return 1
    fi
    echo "$id"
}
# Waits up to 5 seconds for no visible window whose title matches $1; fails
# when one is still up.
cerrada() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
# Fails when a message box is up.
sin_mensajes() {
    local id
    for titulo in "Aviso al operador" "Aviso al Usuario" "AVISO AL OPERADOR" "Aviso al operador!!!" "rp_tarifario"; do
        id=$(xdotool search --onlyvisible --name "^$titulo\$" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "FALLO: caja de mensaje \"$titulo\" en pantalla ($1)"
            foto "mensaje-$1"
            return 1
        fi
    done
}
foto() {
    [ -n "$fotos" ] || return 0
    mkdir -p "$fotos"
    xwd -root -silent >"$fotos/$1.xwd"
}
# True when the bottom of the screen shows something. The preview covers
# the whole screen, so this is its last rows as the X server shows them: a
# window that was mapped but never painted reads back as black (zero bytes).
# (The screen, not the window: a window's own image can hold pixels that
# never reach the screen.)
pintada() {
    local bytes
    bytes=$(xwd -root -silent | tail -c 400000 | tr -d '\000' | wc -c)
    [ "$bytes" -gt 40000 ]
}
teclas() { xdotool key --delay 60 "$@"; }
escribir() { xdotool type --delay 60 "$1"; }

principal=$(ventana "Reporte Historico de Cambio de Precios" 60) ||
    { echo "FALLO: no apareció la ventana principal"; cat "$tmp/programa.log"; exit 1; }
xdotool windowfocus --sync "$principal"
sleep 0.5
foto "ventana"

# Runs the visible tab's report with F5 and checks its preview; with a
# second argument, searches that text (Ctrl+F, Enter, F3) before leaving.
pantalla() {
    local nombre=$1 buscar=${2:-} previa
    teclas F5
    previa=$(aparece "$nombre" "^Vista previa\$" 60 "F5 no abrió la vista previa") || return 1
    sleep 1
    sin_mensajes "$nombre"
    foto "$nombre"
    local pintado=0
    for _ in $(seq 50); do pintada "$previa" && { pintado=1; break; }; sleep 0.2; done
    if [ "$pintado" -ne 1 ]; then
        echo "FALLO: $nombre: la vista previa no muestra nada"
        return 1
    fi
    xdotool windowfocus --sync "$previa"
    if [ -n "$buscar" ]; then
        teclas ctrl+f; sleep 0.3
        escribir "$buscar"; teclas Return; sleep 1
        teclas F3; sleep 0.5
        sin_mensajes "$nombre-busqueda"
        foto "$nombre-busqueda"
        # The first Esc closes the search bar.
        teclas Escape; sleep 0.3
        # Down selects a line, Enter opens its article's history over the
        # preview; Esc goes back to the preview.
        teclas Down Down Return
        aparece "$nombre-detalle" "^Historial del artículo" 30 \
            "Enter no abrió el historial del artículo" >/dev/null || return 1
        sleep 1.5
        sin_mensajes "$nombre-detalle"
        foto "$nombre-detalle"
        teclas Escape
        cerrada "^Historial del artículo" ||
            { echo "FALLO: $nombre: Esc no cerró el historial del artículo"; return 1; }
        xdotool search --onlyvisible --name "^Vista previa\$" >/dev/null 2>&1 ||
            { echo "FALLO: $nombre: Esc en el historial cerró también la vista previa"; return 1; }
        xdotool windowfocus --sync "$previa"; sleep 0.3
    fi
    teclas Escape
    cerrada "^Vista previa\$" || { echo "FALLO: $nombre: Esc no cerró la vista previa"; return 1; }
    xdotool windowfocus --sync "$principal"
    sleep 0.3
    echo "ok: $nombre"
}

estado=0
# Tab 0: the cursor starts in "Lista Desde"; Enter moves to "Lista Hasta".
teclas ctrl+a; escribir "1"; teclas Return; teclas ctrl+a; escribir "1"
pantalla historial "fixer" || estado=1
# Tab 1: "Lista", then "Fecha".
teclas ctrl+Tab; sleep 0.3
teclas ctrl+a; escribir "1"; teclas Return; teclas ctrl+a; escribir "31/12/2024"
pantalla fecha || estado=1
# Tab 2: "Lista".
teclas ctrl+Tab; sleep 0.3
teclas ctrl+a; escribir "1"
pantalla ultimo_costo || estado=1

# A field lookup: back on tab 0, Enter six times from "Lista Desde" reaches
# "Proveedor Desde"; F2 opens the list "Consulta...", typing selects, Enter
# picks and closes it; then the family tree from "Familia Desde".
consulta() {
    local nombre=$1 texto=$2 dialogo
    teclas F2
    dialogo=$(aparece "$nombre" "^Consulta\.\.\.\$" 30 "F2 no abrió la consulta") || return 1
    sleep 0.5
    escribir "$texto"
    foto "$nombre"
    teclas Return
    cerrada "^Consulta\.\.\.\$" || { echo "FALLO: $nombre: Enter no cerró la consulta"; return 1; }
    sin_mensajes "$nombre"
    sleep 0.3
    echo "ok: $nombre"
}
teclas ctrl+Tab; sleep 0.3
for _ in 1 2 3 4 5 6; do teclas Return; done
consulta consulta_proveedor "comercial" || estado=1
teclas Return
consulta consulta_familia "0102" || estado=1

# Ctrl+S saves the form as a filter: the input box takes the name, Enter
# saves it in the user's configuration folder.
guardar_filtro() {
    local caja
    teclas ctrl+s
    if ! caja=$(ventana "^Guardar filtro\$" 30); then
        echo "FALLO: filtro: Ctrl+S no pidió el nombre"
        return 1
    fi
    xdotool windowfocus --sync "$caja" 2>/dev/null || true
    sleep 0.3
    escribir "Semana xvfb"
    teclas Return
    for _ in $(seq 50); do
        [ -f "$XDG_CONFIG_HOME/rp_tarifario/filtros/Semana xvfb.filtro" ] && break
        sleep 0.1
    done
    if ! grep -q "^campo.ListaDesde=1" "$XDG_CONFIG_HOME/rp_tarifario/filtros/Semana xvfb.filtro" 2>/dev/null; then
        echo "FALLO: filtro: no se guardó el filtro con la lista"
        return 1
    fi
    sin_mensajes filtro
    echo "ok: filtro"
}
guardar_filtro || estado=1

if [ "$estado" -ne 0 ]; then
    echo "--- salida del programa"; cat "$tmp/programa.log"
fi
exit "$estado"
