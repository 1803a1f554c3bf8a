# bash completion for quillmere-render

_quillmere_render() {
  local cur prev
  COMPREPLY=()
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}

  case $prev in
    --pattern)
      local IFS=$'\n'
      COMPREPLY=($(compgen -W "$(printf '%s\n' Sierpinski 'Christmas Tree' Dragon 'Cantor Maze' \
        Twig Crystal4 Crystal5 Tree Fern Koch 'Square Koch' User)" -- "$cur"))
      return ;;
    --params) COMPREPLY=($(compgen -f -X '!*.[dD][aA][tT]' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --ifs) COMPREPLY=($(compgen -f -X '!*.[iI][fF][sS]' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --from-picture) COMPREPLY=($(compgen -f -X '!*.@([pP][nN][gG]|[sS][vV][gG])' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --target) COMPREPLY=($(compgen -f -X '!*.@([pP][nN][gG]|[jJ][pP]?([eE])[gG]|[bB][mM][pP]|[gG][iI][fF]|[sS][vV][gG]|[tT][iI][fF]?([fF]))' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --output | --save-ifs | --save-params | --report | --key) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --animate) COMPREPLY=($(compgen -f -X '!*.qmanim' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --easing) COMPREPLY=($(compgen -W 'linear smooth spline' -- "$cur")); return ;;
    --mode) COMPREPLY=($(compgen -W 'blueprint fractal chaos' -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W 'png bmp jpg svg' -- "$cur")); return ;;
    --shade) COMPREPLY=($(compgen -W 'flat density by-map' -- "$cur")); return ;;
    --tone) COMPREPLY=($(compgen -W 'log mean' -- "$cur")); return ;;
    --entry | --iterations | --size | --pen | --paper | --threads | --gamma | --gamma-threshold | \
      --supersample | --map-colours | --seed | --report-points | --maps | --time-limit | --frames | \
      --fps)
      return ;;
  esac

  COMPREPLY=($(compgen -W '--pattern --params --ifs --entry --from-picture --list-entries --fit --save-ifs
    --add-to-collection --mode --iterations --size --pen --paper --threads --output --format
    --shade --gamma --tone --gamma-threshold --supersample --map-colours --depth16 --transparent
    --seed --report --report-points --save-params --target --invert --maps --time-limit
    --animate --key --frames --fps --loop --easing --help --version' -- "$cur"))
}
# -o filenames quotes what it completes, so "Christmas Tree" comes out as one word.
complete -o filenames -F _quillmere_render quillmere-render
