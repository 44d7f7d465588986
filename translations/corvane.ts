<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>DisplayHelp</name>
    <message>
        <location filename="../gui/displayhelp.cpp" line="+17"/>
        <source>Help System Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
