<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>Messages</name>
    <message>
        <source>The seed must be a whole number from 0 to 18446744073709551615.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please choose the file to write.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory to draw this picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot start the drawing. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit to Target needs a number of maps from 1 to 10.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit to Target fits at most 10 maps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no target shape to fit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit to Target needs maps whose coefficients are all numbers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is blank: nothing in it is darker than its background.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is blank: nothing in it is lighter than its background.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is dark all over: there is no background to tell a shape from. For a light shape on a dark background, choose &quot;Invert&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is light all over: there is no background to tell a shape from. For a dark shape on a light background, leave &quot;Invert&quot; off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a picture that can be read: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter values for all parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter only numerical values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter index i from 1 to 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a value for the number of iteration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter proper number of iteration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maxium number of iteration allowed for fractal is 20</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no maps to export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the file: disk full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the file. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no entry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has no entry named %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot print: device unavailable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot print: device I/O error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot print. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set %1 of Map %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Corner of Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shear Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Row %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map %1 expands: it stretches by %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The parallelograms are far smaller than the attractor: &quot;Fit Maps to Square&quot; in the Tools menu brings the maps into the square, where they are easier to shape.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no map %1: the grid holds %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillmere draws at most 10 maps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Required parameter value cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid parameter value.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These maps do not contract, so they have no attractor to fit into the square.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These maps reach too far to fit into the square.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EXPANDS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;}&quot; without an entry to close.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;{&quot; inside the entry; its &quot;}&quot; is missing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines %1 to %2, entry &quot;%3&quot;: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This entry has %1 maps; Quillmere draws at most 10.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This entry is three-dimensional; Quillmere draws maps of the plane only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot add to the collection: an .ifs file holds at most %1 MB and %2 entries.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 holds a NUL byte; this is not a text file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 is longer than %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is larger than %1 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not found.
Please make sure the file name you specify exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot load the file: invalid file format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save parameters: disk full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save parameters. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the picture: unknown image format. Please use a name ending in .png.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the picture: disk full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the picture. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The width and height must be whole numbers from 1 to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supersampling must be 1, 2, 3 or 4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma must be a number greater than 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chaos game is saved as PNG only; SVG is for Blue Print and Fractal.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The smallest figure must be a size of 0 pixels or more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A picture of %1 × %2 %3%4 needs about %5 of memory, more than the %6 a picture may take. The largest of that shape that fits is %7 × %8.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture was cancelled; no file was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the picture: unknown image format. Please use a name ending in .png, .jpg, .bmp or .svg.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the picture %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This picture does not say what it was drawn from: only pictures that Quillmere wrote can be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What this picture says it was drawn from is damaged (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This picture was written by a newer Quillmere (record version %1); this one reads version %2 and older. Please update Quillmere to open it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The maps carry the blue print beyond the coordinates an SVG file can hold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The maps carry this fractal at depth %1 beyond the coordinates an SVG file can hold. The largest depth that can be written is %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An SVG of this fractal at depth %1 would take more than %2 MB. The largest depth that fits is %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>p is already proportional to |det|.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>corner P0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>corner P1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>corner P2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>edge P0–P1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>edge P0–P2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>edge P1–P3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>edge P2–P3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rotation handle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>scale handle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>does not contract (stretches by 1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line through %1 along %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>every point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a map needs %1 numbers; %2 %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file ends before the entry&apos;s &quot;}&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an entry needs a name before its &quot;{&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this line has</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>these lines have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file holds more than %1 entries.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this entry has</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>as SVG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>drawn flat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>shaded by density</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>coloured by map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map %1 of key %2 and map %3 of key %4 turn over: no morph between them avoids a flat map; match them with other maps to avoid it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no key.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key %1 needs 1 to %2 maps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key %1 must come later than the key before it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A matching is given for segment %1 of %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the animation: %1 %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be an object</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be a number of seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be a list of 1 to 10 maps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be 7 numbers (a b c d e f p)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be a list of 1 to 10 pairs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be two map numbers from 1 to 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the animation: it is not JSON (%1 at byte %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be &quot;quillmere-animation&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be 1; a newer Quillmere wrote this file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be &quot;linear&quot;, &quot;smooth&quot; or &quot;spline&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be true or false</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be a list of keys</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be a list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>must be the number of a segment, once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the animation: the file is too large to be one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the animation file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the animation: disk full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the animation. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A matching of these keys needs %1 pairs, one for each map of the key with more maps; it has %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The matching pairs map %1 with map %2, but the keys have %3 and %4 maps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The matching leaves out map %1 of the earlier key.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The matching leaves out map %1 of the later key.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ffmpeg could not make the movie: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write the GIF.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The export was cancelled; the first %n pictures were written.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot make an MP4: the ffmpeg program is not installed (or not on the PATH). Install ffmpeg, or export a GIF or numbered PNG pictures instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The export was cancelled; no movie was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the movie: disk full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save the movie. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Segment %1 (key %2 to key %3): %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The grid holds no map to take as a key.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the matching as pairs of map numbers: 1→2, 2→1, 3→3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The gamma threshold must be a number from 0 to 1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A transparent paper needs a PNG or SVG picture; BMP and JPEG have no alpha channel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The movie&apos;s name must end in .gif or .mp4, or be a .png name with a number such as frames_%05d.png for numbered pictures.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Patterns</name>
    <message>
        <source>Sierpinski</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Christmas Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dragon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cantor Maze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cantor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Twig</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crystal4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crystal5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Koch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Square Koch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::AnimationWindow</name>
    <message>
        <source>Open Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Matching:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key %1 → Key %2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Easing:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Linear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which map of the earlier key becomes which of the later: 1→2, 2→1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animations (*.qmanim)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames a second:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each frame is drawn as Render Picture is set to draw: its size, drawing, count, shading, colours and seed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Animation To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animated GIF (*.gif);;MP4 video (*.mp4);;Numbered PNG pictures (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::BoxCountChart</name>
    <message>
        <source>log₂ (1 / box size)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>log₂ count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>slope %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fitted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::CanvasWidget</name>
    <message>
        <source>Save Picture...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Panel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::CollageOverlay</name>
    <message>
        <source>Measuring the collage …</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collage: no map covers the target yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>h(T, A) ≤ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no bound: a map does not contract</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collage h(T, W(T)) = %1 · %2 · uncovered %3% · spill %4 cells</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attractor h(T, A) = %1 · IoU with the target %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::ControlPanel</name>
    <message>
        <source>Select a Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chaos Game</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compute Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fractal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Iteration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>r:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>angle 1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>angle 2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>i:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset a Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Pattern %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset Pattern %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ForeColor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BackColor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map Editor...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Maps to Square</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import .ifs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export .ifs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maths Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Render Picture...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Recent Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animation...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target Image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Target</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::EntryChooser</name>
    <message>
        <source>Import .ifs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type to search the names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>maps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit into the square</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::MapEditor</name>
    <message>
        <source>Map Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds a copy of the selected map beside it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removes the selected map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames the attractor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames the attractor and every map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit Square</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the unit square</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keys</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists the keys and mouse actions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map Editor Keys</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 maps. Click a map or a corner; drag to shape it (Ctrl snaps). 1 to 0 select, Tab picks a corner, the arrows move it. The wheel zooms, dragging empty space pans; F fits the attractor, A frames all, Home shows the unit square. Insert and Delete add and remove maps; Ctrl+Z undoes. F1 lists every key.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;table cellspacing=4&gt;&lt;tr&gt;&lt;th align=left colspan=2&gt;Mouse&lt;/th&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Drag a corner&lt;/td&gt;&lt;td&gt;moves that corner alone&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Drag inside a map&lt;/td&gt;&lt;td&gt;moves the map whole&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Drag an edge&apos;s dot&lt;/td&gt;&lt;td&gt;shears the map along that edge&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Drag the round handle&lt;/td&gt;&lt;td&gt;turns the map about its centre (Shift: 15° steps)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Drag the diamond&lt;/td&gt;&lt;td&gt;scales the map about its centre (Ctrl: about P0)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl while dragging&lt;/td&gt;&lt;td&gt;snaps to other maps&apos; corners and a 0.05 grid&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Click again on one spot&lt;/td&gt;&lt;td&gt;takes the next map or corner there&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Drag empty space&lt;/td&gt;&lt;td&gt;pans; the wheel zooms&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;th align=left colspan=2&gt;Keys&lt;/th&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;1 … 9, 0&lt;/td&gt;&lt;td&gt;select map 1 … 10&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Tab, Shift+Tab&lt;/td&gt;&lt;td&gt;the next or last handle&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Arrows&lt;/td&gt;&lt;td&gt;move it by 0.01 (Shift 0.1, Alt 0.001)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Escape&lt;/td&gt;&lt;td&gt;cancels the drag under way, or stops Fit to Target&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Insert, Delete&lt;/td&gt;&lt;td&gt;add a copy of the map, remove it&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;F, A, Home&lt;/td&gt;&lt;td&gt;fit the attractor, frame all, show the unit square&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;T&lt;/td&gt;&lt;td&gt;hides and shows the target (&quot;Tools&quot; → &quot;Target Image...&quot;)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+Z, Ctrl+Shift+Z&lt;/td&gt;&lt;td&gt;undo, redo&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How far the maps&apos; images of the target lie from it, in units of the square, and how far the attractor can then lie from it. Red: target no map covers; blue: images outside the target. T hides the target.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How strongly the target shows (T hides it)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit to Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Improves the maps toward the target, keeping their number (with no maps, asks how many); one undo step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stops the fit, keeping the best maps so far (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The longest a fit searches, in seconds of a two-core machine (a busier or slower one takes longer, for the same maps); it ends sooner once it converges, and at once on Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::MapNumbersPanel</name>
    <message>
        <source>The stretch of the square&apos;s bottom edge: |(a, c)|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The stretch of the square&apos;s left edge: |(b, d)|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The turn of the bottom edge in degrees: a = r·cos θ, c = r·sin θ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The turn of the left edge in degrees: b = −s·sin φ, d = s·cos φ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where the map takes (0, 0), across</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where the map takes (0, 0), up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How often the chaos game picks this map</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::MathsReportWindow</name>
    <message>
        <source>det</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>σ1 ≥ σ2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>similarity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>flips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fixed point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>|det| share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>contracts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maths Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set p ∝ |det|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes p = max(|det|, %1) / Σ into the grid&apos;s p column (one undo step)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no maps to count.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not counted, the system does not contract.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>counting %1 points for a first estimate…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>does not read as numbers; left out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ratio %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No maps that read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contracting: yes, every map has σ1 &amp;lt; 1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;span style=&quot;color:#961414&quot;&gt;&lt;b&gt;Contracting: no&lt;/b&gt;, map %1 %2 σ1 ≥ 1.&lt;/span&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>has</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bounding box: x %1 to %2, y %3 to %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bounding box: none, the system does not contract.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Similarity dimension: &lt;b&gt;%1&lt;/b&gt; (the fractal&apos;s dimension when the maps&apos; images do not overlap much)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Similarity dimension: none, %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not all maps are similarities</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it does not contract</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Box counting: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Box-counting dimension: &lt;b&gt;%1&lt;/b&gt; (%2 points)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Box-counting dimension: %1 (first estimate, %2 points; refining with %3…)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the points could not be counted.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::PictureDialog</name>
    <message>
        <source>The name %1 is relative to the program&apos;s working folder, %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Render Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Render Picture To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG image (*.png);;JPEG image (*.jpg *.jpeg);;BMP image (*.bmp);;SVG drawing, Blue Print and Fractal only (*.svg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rendering...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled; the file was left as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> px</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fractal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chaos Game</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drawing:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Fractal&apos;s depth: 0 to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Chaos Game&apos;s number of points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Points:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flat: one pixel per point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density: hit counts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By map: hit counts in the maps&apos; colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shading:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renders K × K times the pixels and averages down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supersampling:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Map colours:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colours:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chaos game&apos;s generator starts here; the same seed gives the same picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16 bits a channel (PNG)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Render</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log: against the most hit pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mean: against the mean hits per covered pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mean keeps the picture&apos;s tones as the points grow; with Log more points darken the whole picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Below this brightness a straight ramp replaces the gamma curve, so sparse pixels are not lifted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma threshold:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transparent paper (PNG, SVG)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The paper is left out; density ink takes its tone as its alpha</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::QtDialogs</name>
    <message>
        <source>Save Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG image (*.png);;JPEG image (*.jpg *.jpeg);;BMP image (*.bmp);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import .ifs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IFS files (*.ifs);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export .ifs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add to the collection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures (%1);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert (a light shape on a dark background)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit to Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The grid is empty. How many maps should draw the target?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::QtDrawRunner</name>
    <message>
        <source>Drawing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::TargetFit</name>
    <message>
        <source>Fit to Target</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
