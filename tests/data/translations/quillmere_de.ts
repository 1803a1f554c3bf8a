<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>quill::ControlPanel</name>
    <message>
        <source>Chaos Game</source>
        <translation>Chaosspiel</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Invalid parameter value.</source>
        <translation>Ungültiger Parameterwert.</translation>
    </message>
</context>
</TS>
