<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>SceneViewHost</name>
    <message numerus="yes">
        <source>A scene of %n segment(s), paused.</source>
        <translation>
            <numerusform>A scene of %n segment, paused.</numerusform>
            <numerusform>A scene of %n segments, paused.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>A scene of %n segment(s), moving.</source>
        <translation>
            <numerusform>A scene of %n segment, moving.</numerusform>
            <numerusform>A scene of %n segments, moving.</numerusform>
        </translation>
    </message>
</context>
</TS>
