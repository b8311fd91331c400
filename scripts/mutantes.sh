#!/usr/bin/env bash
# Measures how many planted faults the test suites catch.
#
# Plants each fault of scripts/mutantes.txt in src/, one at a time: rebuilds
# incrementally in its own build tree, runs the suites (the ones closest to
# the changed folder first, stopping at the first failure), puts the file back
# and prints whether the fault was caught (a suite failed or timed out, or the
# build failed) or survived. Ends with "N de M" over the faults that applied.
#
#   scripts/mutantes.sh                    every fault
#   scripts/mutantes.sh -f 'model|sim-2'   only the faults whose ID matches
#   scripts/mutantes.sh -s 7 -n 20         20 faults drawn with seed 7
#   scripts/mutantes.sh -s 7               every fault, in an order drawn with seed 7
#   scripts/mutantes.sh -c                 only check that every fault applies
#   scripts/mutantes.sh -B ...             skip the clean run of the suites
#                                          (when make test just passed)
#
# MUTANTES_BUILD (build-mutantes), MUTANTES_PUERTOS (first TCP port of the
# suites, 27500), MUTANTES_TIEMPO (seconds before a suite counts as hung, 300)
# and MUTANTES_PRUEBAS (suites run at once, 3: most of them wait on timers and
# sockets more than they compute) tune it. MUTANTES_EXCLUIR is a regular
# expression of suites not to run: on a loaded machine under nice, the suites
# that wait on gcc with deadlines of their own (tst_codegen_compilar,
# tst_diferencial, tst_depuracion_placa) fail without any fault. Leave
# tst_paquete out as well: with any fault planted it fails for reasons of its
# own, and would count every fault as caught. Run it under nice: it keeps both
# cores busy for a long while.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz=$PWD
lista=$raiz/scripts/mutantes.txt
build=${MUTANTES_BUILD:-build-mutantes}
puertos=${MUTANTES_PUERTOS:-27500}
tiempo=${MUTANTES_TIEMPO:-300}
paralelas=${MUTANTES_PRUEBAS:-3}
excluir=${MUTANTES_EXCLUIR:-}
filtro=.
semilla=
muestra=
solo_comprobar=0
sin_base=0

while getopts "f:s:n:cBh" opcion; do
  case $opcion in
    f) filtro=$OPTARG ;;
    s) semilla=$OPTARG ;;
    n) muestra=$OPTARG ;;
    c) solo_comprobar=1 ;;
    B) sin_base=1 ;;
    *) sed -n '2,23p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  esac
done

# Prints "ID<TAB>path" for each fault of the list, in order.
listar() {
  perl -ne 'print "$1\t$2\n" if /^@ (\S+) (\S+)\s*$/' "$lista"
}

# Plants fault $1 in its file (only checks that it would apply when $2 is
# "seco"). Exit 2, with the reason on stdout, when its text does not occur
# exactly once.
plantar() {
  perl -e '
    my ($lista, $id, $seco) = @ARGV;
    open my $l, "<:raw", $lista or die "no se puede leer $lista\n";
    my ($ruta, $texto, $nuevo, $dentro);
    while (<$l>) {
      s/\r?\n$//;
      if (/^@ (\S+) (\S+)\s*$/) { $dentro = $1 eq $id; $ruta = $2 if $dentro; next; }
      next unless $dentro;
      $texto = $1 if /^- (.*)$/;
      $nuevo = defined $1 ? $1 : "" if /^\+(?: (.*))?$/;
    }
    if (!defined $texto || !defined $nuevo) { print "el bloque no tiene líneas - y +"; exit 2; }
    open my $f, "<:raw", $ruta or do { print "no existe $ruta"; exit 2; };
    my $codigo = do { local $/; <$f> };
    close $f;
    my $veces = () = $codigo =~ /\Q$texto\E/g;
    if ($veces != 1) { print "el texto aparece $veces veces en $ruta"; exit 2; }
    exit 0 if $seco;
    my $pos = index($codigo, $texto);
    substr($codigo, $pos, length $texto) = $nuevo;
    open my $g, ">:raw", $ruta or die;
    print $g $codigo;
    close $g;
  ' "$lista" "$1" "${2:-}"
}

# The suites closest to each folder of src/, run before all the others.
primeras() {
  case $1 in
    model) echo 'xmlhandler|proyecto|savefile|expresiondisparo|lifecycle$' ;;
    sim) echo 'simulacion|diferencial|escenario' ;;
    codegen) echo 'codegen' ;;
    analysis) echo 'verificacion|escenario|cli' ;;
    link) echo 'link|depuracion' ;;
    importer) echo 'importar' ;;
    historial) echo 'historial|recuperacion' ;;
    diagram) echo 'diagramscene|arrow|vista|edicion|imagen' ;;
    dialogs) echo 'dialog|configurarpuerto|regexp' ;;
    app) echo 'mainwindow|lifecycle|edicion|ventana|escritorio' ;;
    cli) echo 'cli|placa' ;;
    *) echo '^$' ;;
  esac
}

# Runs the suites, closest first; fails at the first suite that fails and
# leaves its name in $fallida.
probar() {
  local cerca=$1 salida fase
  fallida=
  for fase in cerca resto; do
    local seleccion=(-R "$cerca" -E "${excluir:-^\$}")
    [[ $fase == cerca ]] || seleccion=(-E "$cerca${excluir:+|$excluir}")
    salida=$(cd "$build" && ctest "${seleccion[@]}" -j "$paralelas" --stop-on-failure 2>&1) && continue
    fallida=$(printf '%s\n' "$salida" | sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \(tst_[a-z_]*\) .*\*\*\*.*/\1/p' |
      head -1)
    [[ -n $fallida ]] || fallida=$(printf '%s\n' "$salida" | grep -m1 -o 'tst_[a-z_]*' || echo ctest)
    return 1
  done
  return 0
}

# Everything with no argument; else only the given targets.
construir() {
  local objetivos=()
  [[ $# -eq 0 ]] || objetivos=(--target "$@")
  env -u MAKEFLAGS -u MAKELEVEL cmake --build "$build" -j 2 "${objetivos[@]}" >"$build/mutantes-build.log" 2>&1
}

ids=()
rutas=()
while IFS=$'\t' read -r id ruta; do
  [[ $id =~ $filtro ]] || continue
  ids+=("$id")
  rutas+=("$ruta")
done < <(listar)
# A seed alone shuffles the whole list: a run cut short is then a fair sample.
[[ -z $semilla || -n $muestra ]] || muestra=${#ids[@]}
if [[ -n $muestra ]]; then
  orden=$(perl -e 'srand($ARGV[0]); my @i = (0 .. $ARGV[1] - 1);
    for (my $k = $#i; $k > 0; --$k) { my $j = int rand($k + 1); @i[$k, $j] = @i[$j, $k]; }
    print join(" ", @i[0 .. ($ARGV[2] < @i ? $ARGV[2] : @i) - 1]);' \
    "${semilla:-1}" "${#ids[@]}" "$muestra")
  elegidos_ids=()
  elegidas_rutas=()
  for k in $orden; do
    elegidos_ids+=("${ids[k]}")
    elegidas_rutas+=("${rutas[k]}")
  done
  ids=("${elegidos_ids[@]}")
  rutas=("${elegidas_rutas[@]}")
fi
[[ ${#ids[@]} -gt 0 ]] || { echo "Ninguna falla coincide con «$filtro»."; exit 1; }

# The file being changed is copied first and written back on any exit, so
# src/ is left as it was even after Ctrl+C. Writing it back gives it a new
# time, so the next build recompiles it.
copias=$(mktemp -d)
plantado=
restaurar() {
  if [[ -n $plantado ]]; then
    cat "$copias/original" >"$plantado"
    plantado=
  fi
}
terminar() {
  restaurar
  rm -rf "$copias"
}
trap terminar EXIT
trap 'echo; echo "Interrumpido: src/ queda como estaba."; exit 130' INT TERM HUP

if [[ $solo_comprobar -eq 1 ]]; then
  malas=0
  for id in "${ids[@]}"; do
    if ! motivo=$(plantar "$id" seco); then
      echo "$id: no aplicable ($motivo)"
      malas=$((malas + 1))
    fi
  done
  echo "${#ids[@]} fallas, $malas no aplicables."
  [[ $malas -eq 0 ]]
  exit
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$raiz}
generador=()
command -v ninja >/dev/null && [[ ! -f $build/Makefile ]] && generador=(-G Ninja)
# Shared libraries, and suites that are not relinked when they change: a
# planted fault then costs one object and one library. No optimisation and
# no debug information: the tree is rebuilt often and never debugged.
cmake -S . -B "$build" "${generador[@]}" -DVIREO_TEST_PORT_BASE="$puertos" -DVIREO_TEST_TIMEOUT="$tiempo" \
  -DBUILD_SHARED_LIBS=ON -DCMAKE_LINK_DEPENDS_NO_SHARED=ON -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O0 >/dev/null
echo "Compilando y probando sin fallas ($build)${excluir:+, sin las suites «$excluir»}..."
mapfile -t suites < <(cd "$build" && ctest -N | sed -n 's/^ *Test *#[0-9]*: \(tst_[a-z_0-9]*\)$/\1/p')
construir vireo_core vireo_gui vireo-cli vireo "${suites[@]}" ||
  { echo "La compilación sin fallas no termina: vea $build/mutantes-build.log"; exit 1; }
if [[ $sin_base -eq 0 ]] && ! probar '^$'; then
  echo "Sin fallas ya falla $fallida: arréglelo antes de medir."
  exit 1
fi

atrapadas=0
aplicables=0
sobrevivientes=()
inaplicables=()
inicio=$SECONDS
for k in "${!ids[@]}"; do
  id=${ids[k]}
  ruta=${rutas[k]}
  carpeta=$(echo "$ruta" | cut -d/ -f2)
  if [[ ! -f $ruta ]]; then
    printf '%-13s no aplicable (no existe %s)\n' "$id" "$ruta"
    inaplicables+=("$id")
    continue
  fi
  cp "$ruta" "$copias/original"
  plantado=$ruta
  if ! motivo=$(plantar "$id"); then
    restaurar
    printf '%-13s no aplicable (%s)\n' "$id" "$motivo"
    inaplicables+=("$id")
    continue
  fi
  aplicables=$((aplicables + 1))
  t0=$SECONDS
  # Only the product is rebuilt: the suites load the shared libraries and
  # run vireo-cli, so they meet the fault without being relinked, and an
  # edit of tests/ during a long run does not change what is measured.
  if ! construir vireo_core vireo_gui vireo-cli vireo; then
    resultado="atrapada (no compila)"
    atrapadas=$((atrapadas + 1))
  elif ! probar "$(primeras "$carpeta")"; then
    resultado="atrapada ($fallida)"
    atrapadas=$((atrapadas + 1))
  else
    resultado="SOBREVIVE"
    sobrevivientes+=("$id")
  fi
  restaurar
  printf '%-13s %-40s %4ds\n' "$id" "$resultado" $((SECONDS - t0))
done

echo
echo "Atrapadas: $atrapadas de $aplicables ($(((SECONDS - inicio) / 60)) min)."
[[ ${#sobrevivientes[@]} -eq 0 ]] || echo "Sobreviven: ${sobrevivientes[*]}"
[[ ${#inaplicables[@]} -eq 0 ]] || echo "No aplicables (actualice scripts/mutantes.txt): ${inaplicables[*]}"
# Leave the product built from the real sources.
construir vireo_core vireo_gui vireo-cli vireo || true
