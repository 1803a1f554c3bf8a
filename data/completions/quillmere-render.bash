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
    --output | --save-ifs | --report | --key) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --animate) COMPREPLY=($(compgen -f -X '!*.qmanim' -- "$cur") $(compgen -d -- "$cur")); return ;;
    --easing) COMPREPLY=($(compgen -W 'linear smooth spline' -- "$cur")); return ;;
    --mode) COMPREPLY=($(compgen -W 'blueprint fractal chaos' -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W 'png bmp jpg svg' -- "$cur")); return ;;
    --shade) COMPREPLY=($(compgen -W 'flat density by-map' -- "$cur")); return ;;
    --entry | --iterations | --size | --pen | --paper | --threads | --gamma | --supersample | \
      --map-colours | --seed | --report-points | --frames | --fps)
      return ;;
  esac

  COMPREPLY=($(compgen -W '--pattern --params --ifs --entry --from-picture --list-entries --fit --save-ifs
    --add-to-collection --mode --iterations --size --pen --paper --threads --output --format
    --shade --gamma --supersample --map-colours --depth16 --seed --report --report-points
    --animate --key --frames --fps --loop --easing --help --version' -- "$cur"))
}
# -o filenames quotes what it completes, so "Christmas Tree" comes out as one word.
complete -o filenames -F _quillmere_render quillmere-render
