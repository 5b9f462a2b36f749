<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>About</name>
    <message>
        <source>About Orbalin</source>
        <translation>Über Orbalin</translation>
    </message>
</context>
<context>
    <name>AnimationEncoding</name>
    <message>
        <source>MP4 cannot be streamed: it is written with its index at the end; write it to a file, or stream WebM, GIF or WebP</source>
        <translation>MP4 lässt sich nicht streamen, da der Index erst am Ende geschrieben wird; schreiben Sie in eine Datei oder streamen Sie WebM, GIF oder WebP</translation>
    </message>
    <message>
        <source>%1 cannot be transparent</source>
        <translation>%1 kann nicht transparent sein</translation>
    </message>
    <message>
        <source>%1 cannot be %2×%3 pixels</source>
        <translation>%1 kann nicht %2×%3 Pixel groß sein</translation>
    </message>
    <message>
        <source>%1 plays at most %2 frames a second</source>
        <translation>%1 spielt höchstens %2 Bilder pro Sekunde ab</translation>
    </message>
    <message>
        <source>the frame rate is too low</source>
        <translation>die Bildrate ist zu niedrig</translation>
    </message>
    <message>
        <source>the format is unknown</source>
        <translation>das Format ist unbekannt</translation>
    </message>
    <message>
        <source>there is not enough memory</source>
        <translation>es ist nicht genügend Speicher vorhanden</translation>
    </message>
    <message>
        <source>a frame is %1×%2 pixels where the recording&apos;s are %3×%4</source>
        <translation>ein Bild ist %1×%2 Pixel groß, die Bilder der Aufnahme aber %3×%4</translation>
    </message>
    <message>
        <source>the recording has no frames</source>
        <translation>die Aufnahme enthält keine Bilder</translation>
    </message>
    <message>
        <source>the GIF could not be written: %1</source>
        <translation>das GIF konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>a GIF is at most 65535 pixels wide and high</source>
        <translation>ein GIF ist höchstens 65535 Pixel breit und hoch</translation>
    </message>
    <message>
        <source>the WebM encoder (VP9) is not available in this FFmpeg</source>
        <translation>der WebM-Encoder (VP9) ist in diesem FFmpeg nicht verfügbar</translation>
    </message>
    <message>
        <source>the MP4 encoder (H.264) is not available in this FFmpeg</source>
        <translation>der MP4-Encoder (H.264) ist in diesem FFmpeg nicht verfügbar</translation>
    </message>
    <message>
        <source>the video encoder stopped: %1</source>
        <translation>der Video-Encoder hat abgebrochen: %1</translation>
    </message>
    <message>
        <source>the video could not be written: %1</source>
        <translation>das Video konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>the WebP encoder stopped: %1</source>
        <translation>der WebP-Encoder hat abgebrochen: %1</translation>
    </message>
    <message>
        <source>the WebP library is not the version this program was built for</source>
        <translation>die WebP-Bibliothek hat nicht die Version, für die dieses Programm gebaut wurde</translation>
    </message>
    <message>
        <source>a WebP is at most %1 pixels wide and high</source>
        <translation>ein WebP ist höchstens %1 Pixel breit und hoch</translation>
    </message>
</context>
<context>
    <name>AnimationExportDialog</name>
    <message>
        <source>“%1” does not name an animation format: its suffix must be one of %2</source>
        <translation>„%1“ bezeichnet kein Animationsformat: Die Endung muss eine von %2 sein</translation>
    </message>
    <message>
        <source>The animation “%1” could not be written.</source>
        <translation>Die Animation „%1“ konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>The file&apos;s suffix names the format: %1.</source>
        <translation>Die Dateiendung bestimmt das Format: %1.</translation>
    </message>
    <message>
        <source>%1 needs even sides: the animation will be %2×%3 pixels.</source>
        <translation>%1 braucht gerade Seitenlängen: Die Animation wird %2×%3 Pixel groß.</translation>
    </message>
    <message>
        <source>Export Animation</source>
        <translation>Animation exportieren</translation>
    </message>
    <message>
        <source>%1 animation (*.%2)</source>
        <translation>%1-Animation (*.%2)</translation>
    </message>
    <message>
        <source>“%1” already exists. Do you want to replace it?</source>
        <translation>„%1“ existiert bereits. Soll die Datei überschrieben werden?</translation>
    </message>
    <message>
        <source>Exporting “%1”</source>
        <translation>„%1“ wird exportiert</translation>
    </message>
</context>
<context>
    <name>ApplicationService</name>
    <message>
        <source>“%1” is not a file: Orbalin opens file URIs and absolute paths</source>
        <translation>„%1“ ist keine Datei: Orbalin öffnet Datei-URIs und absolute Pfade</translation>
    </message>
    <message>
        <source>“%1” names a file on another computer</source>
        <translation>„%1“ bezeichnet eine Datei auf einem anderen Rechner</translation>
    </message>
    <message>
        <source>“%1” is no absolute path</source>
        <translation>„%1“ ist kein absoluter Pfad</translation>
    </message>
</context>
<context>
    <name>BackgroundWork</name>
    <message>
        <source>%1 of %2 read</source>
        <translation>%1 von %2 gelesen</translation>
    </message>
    <message>
        <source>%1 of %2 pairs</source>
        <translation>%1 von %2 Paaren</translation>
    </message>
    <message>
        <source>%1 of %2 frames</source>
        <translation>%1 von %2 Bildern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>BinaryReader</name>
    <message>
        <source>binary property list: %1</source>
        <translation>binäre Eigenschaftsliste: %1</translation>
    </message>
    <message>
        <source>it is a binary property list of an unsupported version</source>
        <translation>sie ist eine binäre Eigenschaftsliste in einer nicht unterstützten Version</translation>
    </message>
    <message>
        <source>it is too short to hold a trailer</source>
        <translation>sie ist zu kurz, um einen Trailer zu enthalten</translation>
    </message>
    <message>
        <source>the trailer gives impossible field sizes</source>
        <translation>der Trailer gibt unmögliche Feldgrößen an</translation>
    </message>
    <message>
        <source>the trailer counts no objects</source>
        <translation>der Trailer zählt keine Objekte</translation>
    </message>
    <message>
        <source>the offset table lies outside the file</source>
        <translation>die Offset-Tabelle liegt außerhalb der Datei</translation>
    </message>
    <message>
        <source>the top object %1 does not exist</source>
        <translation>das Wurzelobjekt %1 existiert nicht</translation>
    </message>
    <message>
        <source>%1-byte references cannot name all %2 objects</source>
        <translation>%1-Byte-Verweise können nicht alle %2 Objekte bezeichnen</translation>
    </message>
    <message>
        <source>the trailer counts %1 objects</source>
        <translation>der Trailer zählt %1 Objekte</translation>
    </message>
    <message>
        <source>object %1 lies outside the object area</source>
        <translation>Objekt %1 liegt außerhalb des Objektbereichs</translation>
    </message>
    <message>
        <source>object %1 does not exist</source>
        <translation>Objekt %1 existiert nicht</translation>
    </message>
    <message>
        <source>object %1 is cut short</source>
        <translation>Objekt %1 ist abgeschnitten</translation>
    </message>
    <message>
        <source>object %1 has a malformed length</source>
        <translation>Objekt %1 hat eine fehlerhafte Länge</translation>
    </message>
    <message>
        <source>object %1 runs past the end of the object area</source>
        <translation>Objekt %1 reicht über das Ende des Objektbereichs hinaus</translation>
    </message>
    <message>
        <source>object %1 refers to object %2, which does not exist</source>
        <translation>Objekt %1 verweist auf Objekt %2, das nicht existiert</translation>
    </message>
    <message>
        <source>a dictionary key (object %1) is not a string</source>
        <translation>ein Wörterbuchschlüssel (Objekt %1) ist keine Zeichenkette</translation>
    </message>
    <message>
        <source>object %1 is an integer too large to use</source>
        <translation>Objekt %1 ist eine zu große Ganzzahl</translation>
    </message>
    <message>
        <source>object %1 has the unknown marker 0x%2</source>
        <translation>Objekt %1 hat die unbekannte Kennung 0x%2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.
</source>
        <translation>„%1 --help“ liefert weitere Informationen.
</translation>
    </message>
    <message>
        <source>--size takes WxH or N, each from 1 to %1 pixels with this OpenGL driver, not “%2”.</source>
        <translation>--size erwartet WxH oder N, jeweils von 1 bis %1 Pixel mit diesem OpenGL-Treiber, nicht „%2“.</translation>
    </message>
    <message>
        <source>--size takes WxH or N, each from 1 to %1 pixels, not “%2”.</source>
        <translation>--size erwartet WxH oder N, jeweils von 1 bis %1 Pixel, nicht „%2“.</translation>
    </message>
    <message>
        <source>Shows animated scenes of coloured line segments, each scene in a window of
its own; with no FILE, a new random scene.

With --render, draws one frame of SCENE into a picture instead, or with
--duration records it as an animation, with no display server at all
(neither X11 nor Wayland):
  orbalin --render SCENE --output PICTURE [--format FORMAT] [--size WxH]
          [--ticks N] [--seed N] [--background transparent]
  orbalin --render SCENE --output ANIMATION --duration SECONDS [--fps N]
          [--format FORMAT] [--size WxH] [--ticks N] [--seed N]
          [--background transparent]</source>
        <translation>Zeigt animierte Szenen aus farbigen Liniensegmenten, jede Szene in einem
eigenen Fenster; ohne FILE eine neue zufällige Szene.

Mit --render wird stattdessen ein Einzelbild von SCENE als Bild gezeichnet
oder mit --duration als Animation aufgenommen, ganz ohne Display-Server
(weder X11 noch Wayland):
  orbalin --render SCENE --output PICTURE [--format FORMAT] [--size WxH]
          [--ticks N] [--seed N] [--background transparent]
  orbalin --render SCENE --output ANIMATION --duration SECONDS [--fps N]
          [--format FORMAT] [--size WxH] [--ticks N] [--seed N]
          [--background transparent]</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Zeigt diese Hilfe an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Zeigt die Version an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Opens the windows full screen.</source>
        <translation>Öffnet die Fenster im Vollbild.</translation>
    </message>
    <message>
        <source>Scene files to open.</source>
        <translation>Zu öffnende Szenendateien.</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>--%1 does not go with the screen-saver options.</source>
        <translation>--%1 lässt sich nicht mit den Bildschirmschoner-Optionen kombinieren.</translation>
    </message>
    <message>
        <source>--%1 goes with --render.</source>
        <translation>--%1 ist nur zusammen mit --render möglich.</translation>
    </message>
    <message>
        <source>--render draws one scene, named right after it; “%1” is one too many.</source>
        <translation>--render zeichnet eine Szene, die direkt danach genannt wird; „%1“ ist eine zu viel.</translation>
    </message>
    <message>
        <source>--render opens no window, so --fullscreen does not go with it.</source>
        <translation>--render öffnet kein Fenster, daher ist --fullscreen damit nicht möglich.</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>there is not enough memory to open the file</source>
        <translation>es ist nicht genügend Speicher vorhanden, um die Datei zu öffnen</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Unbenannt %1</translation>
    </message>
</context>
<context>
    <name>DocumentController</name>
    <message>
        <source>Closing after the save…</source>
        <translation>Wird nach dem Speichern geschlossen…</translation>
    </message>
    <message>
        <source>Opening “%1”…</source>
        <translation>„%1“ wird geöffnet…</translation>
    </message>
    <message>
        <source>The document “%1” could not be opened.</source>
        <translation>Das Dokument „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>%1 (*.%2);;All files (*)</source>
        <translation>%1 (*.%2);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>it is no longer there (it was moved, renamed or deleted), so it has been taken off the Open Recent menu</source>
        <translation>es ist nicht mehr vorhanden (es wurde verschoben, umbenannt oder gelöscht) und wurde daher aus dem Menü „Zuletzt geöffnet“ entfernt</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>%1 (*.%2)</source>
        <translation>%1 (*.%2)</translation>
    </message>
    <message>
        <source>The document “%1” could not be saved.</source>
        <translation>Das Dokument „%1“ konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The document “%1” could not be saved as “%2”.</source>
        <translation>Das Dokument „%1“ konnte nicht als „%2“ gespeichert werden.</translation>
    </message>
    <message>
        <source>Saving “%1”…</source>
        <translation>„%1“ wird gespeichert…</translation>
    </message>
    <message>
        <source>there is not enough memory to save the document</source>
        <translation>es ist nicht genügend Speicher vorhanden, um das Dokument zu speichern</translation>
    </message>
    <message>
        <source>The window showing “%1” was closed, because the file was replaced by this document.</source>
        <translation>Das Fenster mit „%1“ wurde geschlossen, weil die Datei durch dieses Dokument ersetzt wurde.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>Die Datei %1 existiert bereits.
Soll sie überschrieben werden?</translation>
    </message>
</context>
<context>
    <name>DocumentWindow</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>ExportAnimation</name>
    <message>
        <source>Export Animation</source>
        <translation>Animation exportieren</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>&amp;Datei:</translation>
    </message>
    <message>
        <source>The suffix names the format: .webm, .mp4, .gif or .webp</source>
        <translation>Die Endung bestimmt das Format: .webm, .mp4, .gif oder .webp</translation>
    </message>
    <message>
        <source>C&amp;hoose…</source>
        <translation>Aus&amp;wählen…</translation>
    </message>
    <message>
        <source>&amp;Length:</source>
        <translation>&amp;Länge:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>×</source>
        <translation>×</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>&amp;Transparent background (GIF and WebP)</source>
        <translation>&amp;Transparenter Hintergrund (GIF und WebP)</translation>
    </message>
</context>
<context>
    <name>FileKind</name>
    <message>
        <source>it is a folder, not a file</source>
        <translation>es ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>es ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>it is a named pipe, not a file</source>
        <translation>es ist eine benannte Pipe, keine Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>es ist ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>“%1” is a folder, not a file: only ordinary files are saved over</source>
        <translation>„%1“ ist ein Ordner, keine Datei: Nur gewöhnliche Dateien werden überschrieben</translation>
    </message>
    <message>
        <source>“%1” is a device, not a file: only ordinary files are saved over</source>
        <translation>„%1“ ist ein Gerät, keine Datei: Nur gewöhnliche Dateien werden überschrieben</translation>
    </message>
    <message>
        <source>“%1” is a named pipe, not a file: only ordinary files are saved over</source>
        <translation>„%1“ ist eine benannte Pipe, keine Datei: Nur gewöhnliche Dateien werden überschrieben</translation>
    </message>
    <message>
        <source>“%1” is a socket, not a file: only ordinary files are saved over</source>
        <translation>„%1“ ist ein Socket, keine Datei: Nur gewöhnliche Dateien werden überschrieben</translation>
    </message>
    <message>
        <source>“%1” is not a file: only ordinary files are saved over</source>
        <translation>„%1“ ist keine Datei: Nur gewöhnliche Dateien werden überschrieben</translation>
    </message>
</context>
<context>
    <name>FileReading</name>
    <message>
        <source>the file is too large to open: it holds %1 (%2 bytes), and the limit is %3</source>
        <translation>die Datei ist zu groß zum Öffnen: Sie enthält %1 (%2 Bytes), die Grenze liegt bei %3</translation>
    </message>
    <message>
        <source>there is not enough memory to open the file</source>
        <translation>es ist nicht genügend Speicher vorhanden, um die Datei zu öffnen</translation>
    </message>
    <message>
        <source>the file changed while it was being read. Try again once it is complete</source>
        <translation>die Datei wurde während des Lesens verändert. Versuchen Sie es erneut, sobald sie vollständig ist</translation>
    </message>
</context>
<context>
    <name>FullScreenSwitch</name>
    <message>
        <source>Leave Full Screen</source>
        <translation>Vollbild verlassen</translation>
    </message>
</context>
<context>
    <name>ImageExport</name>
    <message>
        <source>%1 image (%2)</source>
        <translation>%1-Bild (%2)</translation>
    </message>
    <message>
        <source>The image “%1” could not be written.</source>
        <translation>Das Bild „%1“ konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Export Image</source>
        <translation>Bild exportieren</translation>
    </message>
    <message>
        <source>&amp;Transparent background (PNG)</source>
        <translation>&amp;Transparenter Hintergrund (PNG)</translation>
    </message>
</context>
<context>
    <name>KeyboardShortcuts</name>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Scene</source>
        <translation>Szene</translation>
    </message>
    <message>
        <source>Turn the scene</source>
        <translation>Szene drehen</translation>
    </message>
    <message>
        <source>Drag, or the arrow keys</source>
        <translation>Ziehen oder Pfeiltasten</translation>
    </message>
    <message>
        <source>Move the scene</source>
        <translation>Szene verschieben</translation>
    </message>
    <message>
        <source>Shift+drag, or drag with the middle button</source>
        <translation>Umschalt+Ziehen oder Ziehen mit der mittleren Maustaste</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoomen</translation>
    </message>
    <message>
        <source>Wheel, pinch, or + and -</source>
        <translation>Mausrad, Zwei-Finger-Geste oder + und -</translation>
    </message>
    <message>
        <source>The scene&apos;s menu</source>
        <translation>Menü der Szene</translation>
    </message>
    <message>
        <source>Right click, or the Menu key</source>
        <translation>Rechtsklick oder die Menütaste</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Vollbild verlassen</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
</context>
<context>
    <name>KeyedArchiver</name>
    <message>
        <source>there is not enough memory to save the scene</source>
        <translation>es ist nicht genügend Speicher vorhanden, um die Szene zu speichern</translation>
    </message>
</context>
<context>
    <name>OffscreenRenderer</name>
    <message>
        <source>a picture can be at most %1 pixels wide and high here</source>
        <translation>ein Bild kann hier höchstens %1 Pixel breit und hoch sein</translation>
    </message>
    <message>
        <source>the OpenGL driver could not make a framebuffer of that size</source>
        <translation>der OpenGL-Treiber konnte keinen Framebuffer dieser Größe anlegen</translation>
    </message>
    <message>
        <source>there is not enough memory for a picture of that size</source>
        <translation>für ein Bild dieser Größe ist nicht genügend Speicher vorhanden</translation>
    </message>
    <message>
        <source>the finished picture could not be read back</source>
        <translation>das fertige Bild konnte nicht zurückgelesen werden</translation>
    </message>
</context>
<context>
    <name>OrbalinDocument</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter…</translation>
    </message>
    <message>
        <source>&amp;Export Image…</source>
        <translation>Bild &amp;exportieren…</translation>
    </message>
    <message>
        <source>Export Ani&amp;mation…</source>
        <translation>&amp;Animation exportieren…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Pause Animation</source>
        <translation>Animation an&amp;halten</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <source>Reset &amp;View</source>
        <translation>Ansicht &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Vollbild</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;About Orbalin</source>
        <translation>Ü&amp;ber Orbalin</translation>
    </message>
    <message>
        <source>its scene is not on show yet, so there is nothing to save: save again once its window shows the scene. Nothing was written</source>
        <translation>die Szene des Dokuments wird noch nicht angezeigt, daher gibt es nichts zu speichern: Speichern Sie erneut, sobald das Fenster die Szene zeigt. Es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>Orbalin Scene</source>
        <translation>Orbalin-Szene</translation>
    </message>
</context>
<context>
    <name>PictureFormats</name>
    <message>
        <source>“%1” does not name a picture format that can be written here: its suffix must be one of %2</source>
        <translation>„%1“ bezeichnet kein Bildformat, das hier geschrieben werden kann: Die Endung muss eine von %2 sein</translation>
    </message>
    <message>
        <source>there is no picture to write</source>
        <translation>es gibt kein Bild zum Schreiben</translation>
    </message>
</context>
<context>
    <name>PropertyList</name>
    <message>
        <source>a null value</source>
        <translation>einen Nullwert</translation>
    </message>
    <message>
        <source>a boolean</source>
        <translation>einen Wahrheitswert</translation>
    </message>
    <message>
        <source>an integer</source>
        <translation>eine Ganzzahl</translation>
    </message>
    <message>
        <source>a real number</source>
        <translation>eine Gleitkommazahl</translation>
    </message>
    <message>
        <source>a date</source>
        <translation>ein Datum</translation>
    </message>
    <message>
        <source>a block of data</source>
        <translation>einen Datenblock</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>eine Zeichenkette</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>ein Array</translation>
    </message>
    <message>
        <source>a set</source>
        <translation>eine Menge</translation>
    </message>
    <message>
        <source>a dictionary</source>
        <translation>ein Wörterbuch</translation>
    </message>
    <message>
        <source>an object reference</source>
        <translation>einen Objektverweis</translation>
    </message>
    <message>
        <source>an unknown value</source>
        <translation>einen unbekannten Wert</translation>
    </message>
    <message>
        <source>it is not a property list</source>
        <translation>sie ist keine Eigenschaftsliste</translation>
    </message>
</context>
<context>
    <name>RecentFilesMenu</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&amp;Clear Menu</source>
        <translation>Menü &amp;leeren</translation>
    </message>
</context>
<context>
    <name>RecordCommand</name>
    <message>
        <source>The animation for standard output</source>
        <translation>Die Animation für die Standardausgabe</translation>
    </message>
    <message>
        <source>The animation “%1”</source>
        <translation>Die Animation „%1“</translation>
    </message>
    <message>
        <source>%1 could not be made.</source>
        <translation>%1 konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>%1 needs even sides: the animation is %2x%3 pixels.</source>
        <translation>%1 braucht gerade Seitenlängen: Die Animation ist %2x%3 Pixel groß.</translation>
    </message>
    <message>
        <source>standard output is a terminal; send the animation to a file or a pipe</source>
        <translation>die Standardausgabe ist ein Terminal; leiten Sie die Animation in eine Datei oder eine Pipe um</translation>
    </message>
    <message>
        <source>; --output - writes the animation to standard output</source>
        <translation>; --output - schreibt die Animation in die Standardausgabe</translation>
    </message>
    <message>
        <source>standard output is closed; send the animation to a file or a pipe</source>
        <translation>die Standardausgabe ist geschlossen; leiten Sie die Animation in eine Datei oder eine Pipe um</translation>
    </message>
</context>
<context>
    <name>RenderCommand</name>
    <message>
        <source>standard output is closed; send the picture to a file or a pipe</source>
        <translation>die Standardausgabe ist geschlossen; leiten Sie das Bild in eine Datei oder eine Pipe um</translation>
    </message>
    <message>
        <source>standard output is a terminal; send the picture to a file or a pipe</source>
        <translation>die Standardausgabe ist ein Terminal; leiten Sie das Bild in eine Datei oder eine Pipe um</translation>
    </message>
    <message>
        <source>The picture for standard output</source>
        <translation>Das Bild für die Standardausgabe</translation>
    </message>
    <message>
        <source>The picture “%1”</source>
        <translation>Das Bild „%1“</translation>
    </message>
    <message>
        <source>%1 could not be drawn.</source>
        <translation>%1 konnte nicht gezeichnet werden.</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>; --output - writes the picture to standard output</source>
        <translation>; --output - schreibt das Bild in die Standardausgabe</translation>
    </message>
</context>
<context>
    <name>RenderOptions</name>
    <message>
        <source>Draws one frame of SCENE into PICTURE and exits.</source>
        <translation>Zeichnet ein Einzelbild von SCENE in PICTURE und beendet das Programm.</translation>
    </message>
    <message>
        <source>The picture&apos;s size in pixels, as WxH, or N for N×N, each from 1 to %1 (less when the OpenGL driver draws less; default 640x480).</source>
        <translation>Die Bildgröße in Pixeln, als WxH oder N für N×N, jeweils von 1 bis %1 (weniger, wenn der OpenGL-Treiber weniger zeichnet; Standard 640x480).</translation>
    </message>
    <message>
        <source>Draws the frame after N ticks of the animation, 16 ms each (default 1). A window&apos;s very first frame comes before any tick, when its camera is not in place yet and shows nothing; 0 draws that frame.</source>
        <translation>Zeichnet das Bild nach N Takten der Animation zu je 16 ms (Standard 1). Das allererste Bild eines Fensters kommt vor jedem Takt, wenn seine Kamera noch nicht in Position ist und nichts zeigt; 0 zeichnet dieses Bild.</translation>
    </message>
    <message>
        <source>Picks the random camera with seed N (0 to 4294967295) instead of the clock: the same scene, seed, ticks and size always give the same picture.</source>
        <translation>Wählt die zufällige Kamera mit dem Startwert N (0 bis 4294967295) statt nach der Uhr: Gleiche Szene, gleicher Startwert, gleiche Takte und gleiche Größe ergeben immer dasselbe Bild.</translation>
    </message>
    <message>
        <source>Records SECONDS of the animation into an animation file instead of a picture: WebM, MP4, GIF or WebP, named by the suffix of --output or by --format (WebM for - or a name without a suffix). Its first frame is the picture --ticks would draw.</source>
        <translation>Nimmt SECONDS Sekunden der Animation in eine Animationsdatei statt in ein Bild auf: WebM, MP4, GIF oder WebP, bestimmt durch die Endung von --output oder durch --format (WebM für - oder einen Namen ohne Endung). Ihr erstes Bild ist das Bild, das --ticks zeichnen würde.</translation>
    </message>
    <message>
        <source>With --duration, frames per second (default 31.25): one frame every N ticks of 16 ms, N = 62.5 / FPS rounded, so the rate is 62.5 / N.</source>
        <translation>Mit --duration die Bilder pro Sekunde (Standard 31.25): ein Bild alle N Takte zu 16 ms, N = 62.5 / FPS gerundet, die Rate ist also 62.5 / N.</translation>
    </message>
    <message>
        <source>black (the default), or transparent: the lines on nothing, for PNG pictures and GIF and WebP animations.</source>
        <translation>black (Standard) oder transparent: die Linien auf nichts, für PNG-Bilder sowie GIF- und WebP-Animationen.</translation>
    </message>
    <message>
        <source>The picture to write (with --render), or - for standard output. Its suffix names the format (%1); a name without a suffix, and -, get --format&apos;s, or PNG. With --duration, the animation (%2; all but MP4 may go to -).</source>
        <translation>Das zu schreibende Bild (mit --render) oder - für die Standardausgabe. Die Endung bestimmt das Format (%1); ein Name ohne Endung und - erhalten das von --format oder PNG. Mit --duration die Animation (%2; alle außer MP4 können nach - gehen).</translation>
    </message>
    <message>
        <source>The picture&apos;s format (one of %1), or the animation&apos;s (one of %2), for --output - or a name without a suffix; a name&apos;s suffix must agree with it.</source>
        <translation>Das Format des Bildes (eines von %1) oder der Animation (eines von %2), für --output - oder einen Namen ohne Endung; die Endung eines Namens muss dazu passen.</translation>
    </message>
    <message>
        <source>--render needs --output PICTURE, the picture to write.</source>
        <translation>--render braucht --output PICTURE, das zu schreibende Bild.</translation>
    </message>
    <message>
        <source>--background takes black or transparent, not “%1”.</source>
        <translation>--background erwartet black oder transparent, nicht „%1“.</translation>
    </message>
    <message>
        <source>--ticks takes a whole number from 0 to %1, not “%2”.</source>
        <translation>--ticks erwartet eine ganze Zahl von 0 bis %1, nicht „%2“.</translation>
    </message>
    <message>
        <source>--seed takes a whole number from 0 to 4294967295, not “%1”.</source>
        <translation>--seed erwartet eine ganze Zahl von 0 bis 4294967295, nicht „%1“.</translation>
    </message>
    <message>
        <source>--fps goes with --duration.</source>
        <translation>--fps ist nur zusammen mit --duration möglich.</translation>
    </message>
    <message>
        <source>--format takes one of %1, not “%2”.</source>
        <translation>--format erwartet eines von %1, nicht „%2“.</translation>
    </message>
    <message>
        <source>“%1” names another format than --format %2.</source>
        <translation>„%1“ bezeichnet ein anderes Format als --format %2.</translation>
    </message>
    <message>
        <source>--background transparent needs a picture that keeps transparency: PNG.</source>
        <translation>--background transparent braucht ein Bildformat, das Transparenz erhält: PNG.</translation>
    </message>
    <message>
        <source>--duration takes seconds, more than 0 and at most %1, not “%2”.</source>
        <translation>--duration erwartet Sekunden, mehr als 0 und höchstens %1, nicht „%2“.</translation>
    </message>
    <message>
        <source>--fps takes a number of frames per second from %1 to %2, not “%3”.</source>
        <translation>--fps erwartet eine Anzahl Bilder pro Sekunde von %1 bis %2, nicht „%3“.</translation>
    </message>
    <message>
        <source>--format takes one of %1 with --duration, not “%2”.</source>
        <translation>--format erwartet mit --duration eines von %1, nicht „%2“.</translation>
    </message>
    <message>
        <source>“%1” does not name an animation format: its suffix must be one of %2.</source>
        <translation>„%1“ bezeichnet kein Animationsformat: Die Endung muss eine von %2 sein.</translation>
    </message>
    <message>
        <source>%1 cannot go to standard output: it is written with its index last; name a file, or stream WebM, GIF or WebP.</source>
        <translation>%1 kann nicht in die Standardausgabe geschrieben werden, da der Index zuletzt geschrieben wird; nennen Sie eine Datei oder streamen Sie WebM, GIF oder WebP.</translation>
    </message>
    <message>
        <source>%1 plays at most %2 frames a second, not --fps %3.</source>
        <translation>%1 spielt höchstens %2 Bilder pro Sekunde ab, nicht --fps %3.</translation>
    </message>
    <message>
        <source>--background transparent needs an animation that keeps transparency: GIF or WebP, not %1.</source>
        <translation>--background transparent braucht eine Animation, die Transparenz erhält: GIF oder WebP, nicht %1.</translation>
    </message>
</context>
<context>
    <name>SafeFileWriter</name>
    <message>
        <source>“%1” is a link that another user made in a shared folder: it is not followed</source>
        <translation>„%1“ ist eine Verknüpfung, die ein anderer Benutzer in einem gemeinsamen Ordner angelegt hat: Ihr wird nicht gefolgt</translation>
    </message>
    <message>
        <source>“%1” changed while it was being saved</source>
        <translation>„%1“ wurde während des Speicherns verändert</translation>
    </message>
    <message>
        <source>the folder “%1” is not there</source>
        <translation>der Ordner „%1“ ist nicht vorhanden</translation>
    </message>
</context>
<context>
    <name>SceneArchiveRules</name>
    <message>
        <source>there is not enough memory to open the file</source>
        <translation>es ist nicht genügend Speicher vorhanden, um die Datei zu öffnen</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>the file is not a scene: %1</source>
        <translation>die Datei ist keine Szene: %1</translation>
    </message>
    <message>
        <source>the file is damaged and cannot be read (%1)</source>
        <translation>die Datei ist beschädigt und kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>it is a property list, but not a keyed archive</source>
        <translation>sie ist eine Eigenschaftsliste, aber kein Schlüsselarchiv</translation>
    </message>
    <message>
        <source>it is a keyed archive of a version other than %1</source>
        <translation>sie ist ein Schlüsselarchiv einer anderen Version als %1</translation>
    </message>
    <message>
        <source>the file is damaged: its archived objects are missing (it has no “$objects” array)</source>
        <translation>die Datei ist beschädigt: Ihre archivierten Objekte fehlen (sie hat kein „$objects“-Array)</translation>
    </message>
    <message>
        <source>the file is damaged: it holds no scene (the archive has no root object)</source>
        <translation>die Datei ist beschädigt: Sie enthält keine Szene (das Archiv hat kein Wurzelobjekt)</translation>
    </message>
    <message>
        <source>it holds %1, not a list of point pairs</source>
        <translation>sie enthält %1, keine Liste von Punktpaaren</translation>
    </message>
    <message>
        <source>it holds an object of class “%1”, not a list of point pairs</source>
        <translation>sie enthält ein Objekt der Klasse „%1“, keine Liste von Punktpaaren</translation>
    </message>
    <message>
        <source>the file is damaged: its list of point pairs is missing (the array has no “NS.objects”)</source>
        <translation>die Datei ist beschädigt: Ihre Liste von Punktpaaren fehlt (das Array hat kein „NS.objects“)</translation>
    </message>
    <message>
        <source>the file holds more than %L1 pairs, the most Orbalin opens</source>
        <translation>die Datei enthält mehr als %L1 Paare, das Maximum, das Orbalin öffnet</translation>
    </message>
    <message>
        <source>the scene</source>
        <translation>die Szene</translation>
    </message>
    <message>
        <source>pair %1</source>
        <translation>Paar %1</translation>
    </message>
    <message>
        <source>%1&apos;s first point</source>
        <translation>der erste Punkt von %1</translation>
    </message>
    <message>
        <source>%1&apos;s second point</source>
        <translation>der zweite Punkt von %1</translation>
    </message>
    <message>
        <source>the object under “%1” in %2</source>
        <translation>das Objekt unter „%1“ in %2</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>%1 has no first point</source>
        <translation>%1 hat keinen ersten Punkt</translation>
    </message>
    <message>
        <source>%1 has no second point</source>
        <translation>%1 hat keinen zweiten Punkt</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 is not a point pair</source>
        <translation>%1 ist kein Punktpaar</translation>
    </message>
    <message>
        <source>%1 is not a point</source>
        <translation>%1 ist kein Punkt</translation>
    </message>
    <message>
        <source>%1 has no valid x coordinate</source>
        <translation>%1 hat keine gültige x-Koordinate</translation>
    </message>
    <message>
        <source>%1 has no valid y coordinate</source>
        <translation>%1 hat keine gültige y-Koordinate</translation>
    </message>
    <message>
        <source>%1 has no valid z coordinate</source>
        <translation>%1 hat keine gültige z-Koordinate</translation>
    </message>
    <message>
        <source>%1 has no valid red component</source>
        <translation>%1 hat keinen gültigen Rotanteil</translation>
    </message>
    <message>
        <source>%1 has no valid green component</source>
        <translation>%1 hat keinen gültigen Grünanteil</translation>
    </message>
    <message>
        <source>%1 has no valid blue component</source>
        <translation>%1 hat keinen gültigen Blauanteil</translation>
    </message>
    <message>
        <source>%1 has no valid opacity</source>
        <translation>%1 hat keine gültige Deckkraft</translation>
    </message>
    <message>
        <source>%1 has an invalid value</source>
        <translation>%1 hat einen ungültigen Wert</translation>
    </message>
    <message>
        <source>the file is damaged: %1</source>
        <translation>die Datei ist beschädigt: %1</translation>
    </message>
    <message>
        <source>the file is damaged: %1 (%2)</source>
        <translation>die Datei ist beschädigt: %1 (%2)</translation>
    </message>
    <message>
        <source>object %1 is not in the archive</source>
        <translation>Objekt %1 steht nicht im Archiv</translation>
    </message>
    <message>
        <source>it is stored as %1 instead of a reference</source>
        <translation>die Datei enthält dort %1 statt eines Verweises</translation>
    </message>
    <message>
        <source>it has no class</source>
        <translation>die Klasse fehlt</translation>
    </message>
    <message>
        <source>its class reference is damaged</source>
        <translation>der Verweis auf die Klasse ist beschädigt</translation>
    </message>
    <message>
        <source>its class is object %1, which is not in the archive</source>
        <translation>die Klasse ist Objekt %1, das nicht im Archiv steht</translation>
    </message>
    <message>
        <source>its class description is damaged</source>
        <translation>die Klassenbeschreibung ist beschädigt</translation>
    </message>
    <message>
        <source>the archive holds a “%1” there</source>
        <translation>das Archiv enthält dort ein „%1“-Objekt</translation>
    </message>
    <message>
        <source>the archive holds an object of class “%1”, which a scene may not contain</source>
        <translation>das Archiv enthält ein Objekt der Klasse „%1“, das in einer Szene nicht vorkommen darf</translation>
    </message>
    <message>
        <source>the archive holds %1 there</source>
        <translation>das Archiv enthält dort %1</translation>
    </message>
    <message>
        <source>it refers back to an object that contains it</source>
        <translation>ein Verweis führt zurück auf ein übergeordnetes Objekt</translation>
    </message>
    <message>
        <source>%1 holds %2, not an object reference</source>
        <translation>%1 enthält %2, keinen Objektverweis</translation>
    </message>
    <message>
        <source>%1 holds %2, not a number</source>
        <translation>%1 enthält %2, keine Zahl</translation>
    </message>
    <message>
        <source>%1 is not a finite number</source>
        <translation>%1 ist keine endliche Zahl</translation>
    </message>
    <message>
        <source>%1 is too large for a point</source>
        <translation>%1 ist zu groß für einen Punkt</translation>
    </message>
</context>
<context>
    <name>SceneCommands</name>
    <message>
        <source>&amp;Resume Animation</source>
        <translation>Animation &amp;fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Pause Animation</source>
        <translation>Animation an&amp;halten</translation>
    </message>
    <message>
        <source>Leave &amp;Full Screen</source>
        <translation>Vollbild &amp;verlassen</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Vollbild</translation>
    </message>
</context>
<context>
    <name>SceneViewHost</name>
    <message numerus="yes">
        <source>A scene of %n segment(s), paused.</source>
        <translation>
            <numerusform>Eine Szene aus %n Segment, angehalten.</numerusform>
            <numerusform>Eine Szene aus %n Segmenten, angehalten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>A scene of %n segment(s), moving.</source>
        <translation>
            <numerusform>Eine Szene aus %n Segment, in Bewegung.</numerusform>
            <numerusform>Eine Szene aus %n Segmenten, in Bewegung.</numerusform>
        </translation>
    </message>
    <message>
        <source>turned</source>
        <translation>gedreht</translation>
    </message>
    <message>
        <source>zoomed</source>
        <translation>gezoomt</translation>
    </message>
    <message>
        <source>moved</source>
        <translation>verschoben</translation>
    </message>
    <message>
        <source>Seen as the camera orbits it.</source>
        <translation>Zu sehen, während die Kamera sie umkreist.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>You have %1 it.</source>
        <translation>Sie haben sie %1.</translation>
    </message>
    <message>
        <source>Full screen.</source>
        <translation>Vollbild.</translation>
    </message>
    <message>
        <source>Scene</source>
        <translation>Szene</translation>
    </message>
</context>
<context>
    <name>Screensaver</name>
    <message>
        <source>a screen saver draws on X11 only, not on the “%1” platform; Wayland has no way to hand a screen saver&apos;s window to a program.</source>
        <translation>ein Bildschirmschoner zeichnet nur unter X11, nicht auf der Plattform „%1“; Wayland bietet keine Möglichkeit, einem Programm das Fenster eines Bildschirmschoners zu übergeben.</translation>
    </message>
    <message>
        <source>a screen saver draws on X11 only, not on the “%1” platform.</source>
        <translation>ein Bildschirmschoner zeichnet nur unter X11, nicht auf der Plattform „%1“.</translation>
    </message>
    <message>
        <source>a screen saver needs an X11 display, and DISPLAY is not set.</source>
        <translation>ein Bildschirmschoner braucht ein X11-Display, und DISPLAY ist nicht gesetzt.</translation>
    </message>
    <message>
        <source>a screen saver needs X11, and this is a Wayland session: Wayland has no way to hand a screen saver&apos;s window to a program.</source>
        <translation>ein Bildschirmschoner braucht X11, und dies ist eine Wayland-Sitzung: Wayland bietet keine Möglichkeit, einem Programm das Fenster eines Bildschirmschoners zu übergeben.</translation>
    </message>
    <message>
        <source>cannot connect to the X11 display “%1”.</source>
        <translation>keine Verbindung zum X11-Display „%1“ möglich.</translation>
    </message>
    <message>
        <source>cannot catch SIGTERM: %1</source>
        <translation>SIGTERM kann nicht abgefangen werden: %1</translation>
    </message>
    <message>
        <source>a screen saver draws on X11 only.</source>
        <translation>ein Bildschirmschoner zeichnet nur unter X11.</translation>
    </message>
    <message>
        <source>Random scenes are shown instead.</source>
        <translation>Stattdessen werden zufällige Szenen gezeigt.</translation>
    </message>
    <message>
        <source>XSCREENSAVER_WINDOW holds “%1”, which is no X11 window id.</source>
        <translation>XSCREENSAVER_WINDOW enthält „%1“, was keine X11-Fenster-ID ist.</translation>
    </message>
    <message>
        <source>there is no X11 window 0x%1 to draw into.</source>
        <translation>es gibt kein X11-Fenster 0x%1, in das gezeichnet werden könnte.</translation>
    </message>
</context>
<context>
    <name>ScreensaverFrameRate</name>
    <message>
        <source>– fps</source>
        <translation>– fps</translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation>%1 fps</translation>
    </message>
</context>
<context>
    <name>ScreensaverOptions</name>
    <message>
        <source>Screen saver: draws into the window named by XSCREENSAVER_WINDOW, as the screen-saver daemon runs it, or else full screen.</source>
        <translation>Bildschirmschoner: zeichnet in das durch XSCREENSAVER_WINDOW benannte Fenster, wenn der Bildschirmschoner-Dienst ihn startet, sonst im Vollbild.</translation>
    </message>
    <message>
        <source>Screen saver: draws into the X11 window ID (0x... or decimal), filling it and following its size.</source>
        <translation>Bildschirmschoner: zeichnet in das X11-Fenster mit der ID (0x... oder dezimal), füllt es aus und folgt seiner Größe.</translation>
    </message>
    <message>
        <source>Screen saver: the animation&apos;s tick, in microseconds (default 16000); a shorter tick animates faster.</source>
        <translation>Bildschirmschoner: der Takt der Animation in Mikrosekunden (Standard 16000); ein kürzerer Takt animiert schneller.</translation>
    </message>
    <message>
        <source>Screen saver: multiplies the camera&apos;s turning and drifting (default 1).</source>
        <translation>Bildschirmschoner: vervielfacht das Drehen und Treiben der Kamera (Standard 1).</translation>
    </message>
    <message>
        <source>Screen saver: a new random scene every SECONDS (default 180; 0 keeps the first).</source>
        <translation>Bildschirmschoner: alle SECONDS Sekunden eine neue zufällige Szene (Standard 180; 0 behält die erste).</translation>
    </message>
    <message>
        <source>Screen saver: shows the frame rate in a corner. With --render and --duration, --fps FPS is the animation&apos;s frames per second (default 31.25: a frame every N ticks of 16 ms, N = 62.5 / FPS rounded).</source>
        <translation>Bildschirmschoner: zeigt die Bildrate in einer Ecke. Mit --render und --duration gibt --fps FPS die Bilder pro Sekunde der Animation an (Standard 31.25: ein Bild alle N Takte zu 16 ms, N = 62.5 / FPS gerundet).</translation>
    </message>
    <message>
        <source>Screen saver: shows the scene in FILE instead of random scenes.</source>
        <translation>Bildschirmschoner: zeigt die Szene in FILE statt zufälliger Szenen.</translation>
    </message>
    <message>
        <source>--window-id takes an X11 window id, 0x... or decimal, not “%1”</source>
        <translation>--window-id erwartet eine X11-Fenster-ID, 0x... oder dezimal, nicht „%1“</translation>
    </message>
    <message>
        <source>--delay takes microseconds from 0 to %1, not “%2”</source>
        <translation>--delay erwartet Mikrosekunden von 0 bis %1, nicht „%2“</translation>
    </message>
    <message>
        <source>--speed takes a factor above 0 and up to %1, not “%2”</source>
        <translation>--speed erwartet einen Faktor über 0 und bis %1, nicht „%2“</translation>
    </message>
    <message>
        <source>--new-scene-every takes seconds from 0 to %1, not “%2”</source>
        <translation>--new-scene-every erwartet Sekunden von 0 bis %1, nicht „%2“</translation>
    </message>
    <message>
        <source>a screen saver shows one scene at a time: name it with --scene, not as “%1”</source>
        <translation>ein Bildschirmschoner zeigt jeweils eine Szene: Geben Sie sie mit --scene an, nicht als „%1“</translation>
    </message>
</context>
<context>
    <name>SurfacelessGl</name>
    <message>
        <source>%1 failed (EGL error 0x%2)</source>
        <translation>%1 ist fehlgeschlagen (EGL-Fehler 0x%2)</translation>
    </message>
    <message>
        <source>this system&apos;s EGL has no surfaceless platform (Mesa&apos;s libegl-mesa0 provides one)</source>
        <translation>das EGL dieses Systems hat keine Surfaceless-Plattform (libegl-mesa0 von Mesa bietet eine)</translation>
    </message>
    <message>
        <source>this system&apos;s EGL cannot open a platform display</source>
        <translation>das EGL dieses Systems kann kein Plattform-Display öffnen</translation>
    </message>
    <message>
        <source>this system&apos;s EGL cannot make a context without a surface</source>
        <translation>das EGL dieses Systems kann keinen Kontext ohne Oberfläche anlegen</translation>
    </message>
    <message>
        <source>Opening the surfaceless EGL display</source>
        <translation>das Öffnen der Surfaceless-EGL-Anzeige</translation>
    </message>
    <message>
        <source>Choosing desktop OpenGL</source>
        <translation>die Wahl von Desktop-OpenGL</translation>
    </message>
    <message>
        <source>Making an OpenGL context</source>
        <translation>das Anlegen eines OpenGL-Kontexts</translation>
    </message>
    <message>
        <source>Making the OpenGL context current</source>
        <translation>das Aktivieren des OpenGL-Kontexts</translation>
    </message>
</context>
<context>
    <name>Windows</name>
    <message>
        <source>there is no display to show windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); --render draws pictures without one.</source>
        <translation>es gibt kein Display, auf dem Fenster gezeigt werden können (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt); --render zeichnet Bilder auch ohne.</translation>
    </message>
    <message>
        <source>the “%1” platform cannot show OpenGL windows, which scenes are drawn in; --render draws pictures without a display.</source>
        <translation>die Plattform „%1“ kann keine OpenGL-Fenster zeigen, in denen Szenen gezeichnet werden; --render zeichnet Bilder ohne Display.</translation>
    </message>
</context>
<context>
    <name>XmlObjects</name>
    <message>
        <source>object %1 does not exist</source>
        <translation>Objekt %1 existiert nicht</translation>
    </message>
</context>
<context>
    <name>XmlReading</name>
    <message>
        <source>it is an XML document, but not a property list (line %1: %2)</source>
        <translation>sie ist ein XML-Dokument, aber keine Eigenschaftsliste (Zeile %1: %2)</translation>
    </message>
    <message>
        <source>XML property list, line %1: %2</source>
        <translation>XML-Eigenschaftsliste, Zeile %1: %2</translation>
    </message>
    <message>
        <source>the file holds a stretch of XML text or markup of more than %L1 characters, the most Orbalin reads (line %L2)</source>
        <translation>die Datei enthält ein Stück XML-Text oder -Markup von mehr als %L1 Zeichen, das Maximum, das Orbalin liest (Zeile %L2)</translation>
    </message>
    <message>
        <source>the file has an element with more than %L1 attributes, the most Orbalin reads (line %L2)</source>
        <translation>die Datei hat ein Element mit mehr als %L1 Attributen, das Maximum, das Orbalin liest (Zeile %L2)</translation>
    </message>
    <message>
        <source>the document declares entities</source>
        <translation>das Dokument deklariert Entitäten</translation>
    </message>
    <message>
        <source>the document declares a DTD of its own</source>
        <translation>das Dokument deklariert eine eigene DTD</translation>
    </message>
    <message>
        <source>the key “%1” has no value</source>
        <translation>der Schlüssel „%1“ hat keinen Wert</translation>
    </message>
    <message>
        <source>a boolean holds text</source>
        <translation>ein Wahrheitswert enthält Text</translation>
    </message>
    <message>
        <source>“%1” is not an integer</source>
        <translation>„%1“ ist keine Ganzzahl</translation>
    </message>
    <message>
        <source>“%1” is not a number</source>
        <translation>„%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>“%1” is not a date</source>
        <translation>„%1“ ist kein Datum</translation>
    </message>
    <message>
        <source>a &lt;data&gt; element is not valid base64</source>
        <translation>ein &lt;data&gt;-Element ist kein gültiges Base64</translation>
    </message>
    <message>
        <source>the file holds a value of more than %L1 characters, the most Orbalin reads (line %L2)</source>
        <translation>die Datei enthält einen Wert von mehr als %L1 Zeichen, das Maximum, das Orbalin liest (Zeile %L2)</translation>
    </message>
    <message>
        <source>text “%1” stands outside any value</source>
        <translation>der Text „%1“ steht außerhalb jedes Werts</translation>
    </message>
    <message>
        <source>&lt;%1&gt; holds an element</source>
        <translation>&lt;%1&gt; enthält ein Element</translation>
    </message>
    <message>
        <source>the document is not a &lt;plist&gt;</source>
        <translation>das Dokument ist keine &lt;plist&gt;</translation>
    </message>
    <message>
        <source>a &lt;key&gt; stands outside a dictionary</source>
        <translation>ein &lt;key&gt; steht außerhalb eines Wörterbuchs</translation>
    </message>
    <message>
        <source>the &lt;plist&gt; holds more than one value</source>
        <translation>die &lt;plist&gt; enthält mehr als einen Wert</translation>
    </message>
    <message>
        <source>a dictionary value has no &lt;key&gt;</source>
        <translation>ein Wörterbuchwert hat keinen &lt;key&gt;</translation>
    </message>
    <message>
        <source>the file holds more than %L1 values, the most Orbalin reads</source>
        <translation>die Datei enthält mehr als %L1 Werte, das Maximum, das Orbalin liest</translation>
    </message>
    <message>
        <source>the file nests values more than %L1 deep, the most Orbalin reads (line %L2)</source>
        <translation>die Datei verschachtelt Werte tiefer als %L1 Ebenen, das Maximum, das Orbalin liest (Zeile %L2)</translation>
    </message>
    <message>
        <source>&lt;%1&gt; is not a property-list element</source>
        <translation>&lt;%1&gt; ist kein Element einer Eigenschaftsliste</translation>
    </message>
    <message>
        <source>the &lt;plist&gt; holds no value</source>
        <translation>die &lt;plist&gt; enthält keinen Wert</translation>
    </message>
</context>
</TS>
