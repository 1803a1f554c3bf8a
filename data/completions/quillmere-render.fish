# fish completion for quillmere-render

complete -c quillmere-render -f
complete -c quillmere-render -l pattern -x -d 'A pattern of the pattern menu' -a "Sierpinski 'Christmas Tree' Dragon 'Cantor Maze' Twig Crystal4 Crystal5 Tree Fern Koch 'Square Koch' User"
complete -c quillmere-render -l params -r -F -d 'A saved parameter file'
complete -c quillmere-render -l ifs -r -F -d 'An .ifs file'
complete -c quillmere-render -l entry -x -d 'The .ifs entry to draw'
complete -c quillmere-render -l from-picture -r -F -d 'A picture Quillmere wrote, drawn again'
complete -c quillmere-render -l list-entries -d "List the .ifs file's entries"
complete -c quillmere-render -l fit -d 'Fit the maps into the square'
complete -c quillmere-render -l save-ifs -r -F -d 'Write the maps as one .ifs entry'
complete -c quillmere-render -l add-to-collection -d 'Add the entry to the .ifs file at --save-ifs'
complete -c quillmere-render -l mode -x -d 'How to draw' -a 'blueprint fractal chaos'
complete -c quillmere-render -l iterations -x -d 'Fractal depth or chaos-game points'
complete -c quillmere-render -l size -x -d 'Drawing area in pixels, WIDTHxHEIGHT'
complete -c quillmere-render -l pen -x -d 'Drawing colour, RRGGBB'
complete -c quillmere-render -l paper -x -d 'Background colour, RRGGBB'
complete -c quillmere-render -l threads -x -d 'Threads to draw on'
complete -c quillmere-render -l output -r -F -d 'The picture'
complete -c quillmere-render -l format -x -d "The picture's type" -a 'png bmp jpg svg'
complete -c quillmere-render -l shade -x -d "The chaos game's shading" -a 'flat density by-map'
complete -c quillmere-render -l gamma -x -d 'Brightness curve, 0.1 to 10'
complete -c quillmere-render -l tone -x -d 'Density brightness against the most or the mean hits' -a 'log mean'
complete -c quillmere-render -l gamma-threshold -x -d 'A straight ramp below this brightness, 0 to 1'
complete -c quillmere-render -l supersample -x -d 'K x K supersampling' -a '1 2 3 4'
complete -c quillmere-render -l map-colours -x -d 'By-map colours of maps 1, 2 ...'
complete -c quillmere-render -l depth16 -d 'A PNG of 16 bits a channel'
complete -c quillmere-render -l transparent -d 'Leave the paper transparent'
complete -c quillmere-render -l seed -x -d "The chaos game's generator seed"
complete -c quillmere-render -l report -r -F -d 'What the maps do, as JSON'
complete -c quillmere-render -l report-points -x -d 'Chaos-game points for the box counting'
complete -c quillmere-render -l save-params -r -F -d 'Write the maps as a parameter file'
complete -c quillmere-render -l target -r -F -d 'A picture of a shape to fit the maps to'
complete -c quillmere-render -l invert -d 'The shape is lighter than its background'
complete -c quillmere-render -l maps -x -d 'Maps to seed for a fit from nothing, 1 to 10'
complete -c quillmere-render -l time-limit -x -d 'The work the fit may do, in seconds'
complete -c quillmere-render -l animate -r -F -d "An animation's keys (.qmanim)"
complete -c quillmere-render -l key -r -F -d 'A key of the animation, FILE@TIME'
complete -c quillmere-render -l frames -x -d "The animation's pictures"
complete -c quillmere-render -l fps -x -d 'Frames a second of a GIF or an MP4'
complete -c quillmere-render -l loop -d 'Morph the last key back into the first'
complete -c quillmere-render -l easing -x -d 'How the morph moves between keys' -a 'linear smooth spline'
complete -c quillmere-render -s h -l help -d 'Print the help and exit'
complete -c quillmere-render -l version -d 'Print the version and exit'
