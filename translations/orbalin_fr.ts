<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>About</name>
    <message>
        <source>About Orbalin</source>
        <translation>À propos d&apos;Orbalin</translation>
    </message>
</context>
<context>
    <name>AnimationEncoding</name>
    <message>
        <source>MP4 cannot be streamed: it is written with its index at the end; write it to a file, or stream WebM, GIF or WebP</source>
        <translation>MP4 ne peut pas être diffusé en continu&#xa0;: son index est écrit à la fin&#x202f;; écrivez-le dans un fichier, ou diffusez du WebM, du GIF ou du WebP</translation>
    </message>
    <message>
        <source>%1 cannot be transparent</source>
        <translation>%1 ne peut pas être transparent</translation>
    </message>
    <message>
        <source>%1 cannot be %2×%3 pixels</source>
        <translation>%1 ne peut pas faire %2×%3 pixels</translation>
    </message>
    <message>
        <source>%1 plays at most %2 frames a second</source>
        <translation>%1 ne dépasse pas %2 images par seconde</translation>
    </message>
    <message>
        <source>the frame rate is too low</source>
        <translation>la fréquence d&apos;images est trop basse</translation>
    </message>
    <message>
        <source>the format is unknown</source>
        <translation>le format est inconnu</translation>
    </message>
    <message>
        <source>there is not enough memory</source>
        <translation>la mémoire est insuffisante</translation>
    </message>
    <message>
        <source>a frame is %1×%2 pixels where the recording&apos;s are %3×%4</source>
        <translation>une image fait %1×%2 pixels alors que celles de l&apos;enregistrement font %3×%4</translation>
    </message>
    <message>
        <source>the recording has no frames</source>
        <translation>l&apos;enregistrement ne contient aucune image</translation>
    </message>
    <message>
        <source>the GIF could not be written: %1</source>
        <translation>le GIF n&apos;a pas pu être écrit&#xa0;: %1</translation>
    </message>
    <message>
        <source>a GIF is at most 65535 pixels wide and high</source>
        <translation>un GIF fait au plus 65535 pixels de large et de haut</translation>
    </message>
    <message>
        <source>the WebM encoder (VP9) is not available in this FFmpeg</source>
        <translation>l&apos;encodeur WebM (VP9) n&apos;est pas disponible dans ce FFmpeg</translation>
    </message>
    <message>
        <source>the MP4 encoder (H.264) is not available in this FFmpeg</source>
        <translation>l&apos;encodeur MP4 (H.264) n&apos;est pas disponible dans ce FFmpeg</translation>
    </message>
    <message>
        <source>the video encoder stopped: %1</source>
        <translation>l&apos;encodeur vidéo s&apos;est arrêté&#xa0;: %1</translation>
    </message>
    <message>
        <source>the video could not be written: %1</source>
        <translation>la vidéo n&apos;a pas pu être écrite&#xa0;: %1</translation>
    </message>
    <message>
        <source>the WebP encoder stopped: %1</source>
        <translation>l&apos;encodeur WebP s&apos;est arrêté&#xa0;: %1</translation>
    </message>
    <message>
        <source>the WebP library is not the version this program was built for</source>
        <translation>la bibliothèque WebP n&apos;est pas la version pour laquelle ce programme a été compilé</translation>
    </message>
    <message>
        <source>a WebP is at most %1 pixels wide and high</source>
        <translation>un WebP fait au plus %1 pixels de large et de haut</translation>
    </message>
</context>
<context>
    <name>AnimationExportDialog</name>
    <message>
        <source>“%1” does not name an animation format: its suffix must be one of %2</source>
        <translation>«&#xa0;%1&#xa0;» ne désigne pas un format d&apos;animation&#xa0;: son extension doit être l&apos;une de %2</translation>
    </message>
    <message>
        <source>The animation “%1” could not be written.</source>
        <translation>L&apos;animation «&#xa0;%1&#xa0;» n&apos;a pas pu être écrite.</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exporter</translation>
    </message>
    <message>
        <source>The file&apos;s suffix names the format: %1.</source>
        <translation>L&apos;extension du fichier détermine le format&#xa0;: %1.</translation>
    </message>
    <message>
        <source>%1 needs even sides: the animation will be %2×%3 pixels.</source>
        <translation>%1 exige des côtés pairs&#xa0;: l&apos;animation fera %2×%3 pixels.</translation>
    </message>
    <message>
        <source>Export Animation</source>
        <translation>Exporter l&apos;animation</translation>
    </message>
    <message>
        <source>%1 animation (*.%2)</source>
        <translation>Animation %1 (*.%2)</translation>
    </message>
    <message>
        <source>“%1” already exists. Do you want to replace it?</source>
        <translation>«&#xa0;%1&#xa0;» existe déjà. Voulez-vous l&apos;écraser&#x202f;?</translation>
    </message>
    <message>
        <source>Exporting “%1”</source>
        <translation>Exportation de «&#xa0;%1&#xa0;»</translation>
    </message>
</context>
<context>
    <name>ApplicationService</name>
    <message>
        <source>“%1” is not a file: Orbalin opens file URIs and absolute paths</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un fichier&#xa0;: Orbalin ouvre les URI de fichiers et les chemins absolus</translation>
    </message>
    <message>
        <source>“%1” names a file on another computer</source>
        <translation>«&#xa0;%1&#xa0;» désigne un fichier sur un autre ordinateur</translation>
    </message>
    <message>
        <source>“%1” is no absolute path</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un chemin absolu</translation>
    </message>
</context>
<context>
    <name>BackgroundWork</name>
    <message>
        <source>%1 of %2 read</source>
        <translation>%1 sur %2 lus</translation>
    </message>
    <message>
        <source>%1 of %2 pairs</source>
        <translation>%1 paires sur %2</translation>
    </message>
    <message>
        <source>%1 of %2 frames</source>
        <translation>%1 images sur %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>BinaryReader</name>
    <message>
        <source>binary property list: %1</source>
        <translation>liste de propriétés binaire&#xa0;: %1</translation>
    </message>
    <message>
        <source>it is a binary property list of an unsupported version</source>
        <translation>c&apos;est une liste de propriétés binaire d&apos;une version non prise en charge</translation>
    </message>
    <message>
        <source>it is too short to hold a trailer</source>
        <translation>elle est trop courte pour contenir un bloc de fin</translation>
    </message>
    <message>
        <source>the trailer gives impossible field sizes</source>
        <translation>le bloc de fin indique des tailles de champ impossibles</translation>
    </message>
    <message>
        <source>the trailer counts no objects</source>
        <translation>le bloc de fin ne compte aucun objet</translation>
    </message>
    <message>
        <source>the offset table lies outside the file</source>
        <translation>la table des décalages se trouve hors du fichier</translation>
    </message>
    <message>
        <source>the top object %1 does not exist</source>
        <translation>l&apos;objet racine %1 n&apos;existe pas</translation>
    </message>
    <message>
        <source>%1-byte references cannot name all %2 objects</source>
        <translation>des références de %1 octets ne peuvent pas désigner les %2 objets</translation>
    </message>
    <message>
        <source>the trailer counts %1 objects</source>
        <translation>le bloc de fin compte %1 objets</translation>
    </message>
    <message>
        <source>object %1 lies outside the object area</source>
        <translation>l&apos;objet %1 se trouve hors de la zone des objets</translation>
    </message>
    <message>
        <source>object %1 does not exist</source>
        <translation>l&apos;objet %1 n&apos;existe pas</translation>
    </message>
    <message>
        <source>object %1 is cut short</source>
        <translation>l&apos;objet %1 est tronqué</translation>
    </message>
    <message>
        <source>object %1 has a malformed length</source>
        <translation>l&apos;objet %1 a une longueur mal formée</translation>
    </message>
    <message>
        <source>object %1 runs past the end of the object area</source>
        <translation>l&apos;objet %1 dépasse la fin de la zone des objets</translation>
    </message>
    <message>
        <source>object %1 refers to object %2, which does not exist</source>
        <translation>l&apos;objet %1 renvoie à l&apos;objet %2, qui n&apos;existe pas</translation>
    </message>
    <message>
        <source>a dictionary key (object %1) is not a string</source>
        <translation>une clé de dictionnaire (objet %1) n&apos;est pas une chaîne de caractères</translation>
    </message>
    <message>
        <source>object %1 is an integer too large to use</source>
        <translation>l&apos;objet %1 est un entier trop grand pour être utilisé</translation>
    </message>
    <message>
        <source>object %1 has the unknown marker 0x%2</source>
        <translation>l&apos;objet %1 porte le marqueur inconnu 0x%2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.
</source>
        <translation>Saisissez «&#xa0;%1 --help&#xa0;» pour plus d&apos;informations.
</translation>
    </message>
    <message>
        <source>--size takes WxH or N, each from 1 to %1 pixels with this OpenGL driver, not “%2”.</source>
        <translation>--size attend WxH ou N, chacun de 1 à %1 pixels avec ce pilote OpenGL, et non «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>--size takes WxH or N, each from 1 to %1 pixels, not “%2”.</source>
        <translation>--size attend WxH ou N, chacun de 1 à %1 pixels, et non «&#xa0;%2&#xa0;».</translation>
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
        <translation>Affiche des scènes animées de segments de droite colorés, chacune dans sa
propre fenêtre&#x202f;; sans FILE, une nouvelle scène aléatoire.

Avec --render, dessine plutôt une image de SCENE dans un fichier image, ou
avec --duration l&apos;enregistre comme animation, sans aucun serveur d&apos;affichage
(ni X11 ni Wayland)&#xa0;:
  orbalin --render SCENE --output PICTURE [--format FORMAT] [--size WxH]
          [--ticks N] [--seed N] [--background transparent]
  orbalin --render SCENE --output ANIMATION --duration SECONDS [--fps N]
          [--format FORMAT] [--size WxH] [--ticks N] [--seed N]
          [--background transparent]</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Affiche cette aide et quitte.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Affiche la version et quitte.</translation>
    </message>
    <message>
        <source>Opens the windows full screen.</source>
        <translation>Ouvre les fenêtres en plein écran.</translation>
    </message>
    <message>
        <source>Scene files to open.</source>
        <translation>Fichiers de scène à ouvrir.</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>option inconnue «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>--%1 does not go with the screen-saver options.</source>
        <translation>--%1 est incompatible avec les options de l&apos;économiseur d&apos;écran.</translation>
    </message>
    <message>
        <source>--%1 goes with --render.</source>
        <translation>--%1 s&apos;utilise avec --render.</translation>
    </message>
    <message>
        <source>--render draws one scene, named right after it; “%1” is one too many.</source>
        <translation>--render dessine une seule scène, nommée juste après&#x202f;; «&#xa0;%1&#xa0;» est de trop.</translation>
    </message>
    <message>
        <source>--render opens no window, so --fullscreen does not go with it.</source>
        <translation>--render n&apos;ouvre aucune fenêtre&#x202f;; --fullscreen est donc incompatible avec cette option.</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>there is not enough memory to open the file</source>
        <translation>la mémoire est insuffisante pour ouvrir le fichier</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Sans titre %1</translation>
    </message>
</context>
<context>
    <name>DocumentController</name>
    <message>
        <source>Closing after the save…</source>
        <translation>Fermeture après l&apos;enregistrement…</translation>
    </message>
    <message>
        <source>Opening “%1”…</source>
        <translation>Ouverture de «&#xa0;%1&#xa0;»…</translation>
    </message>
    <message>
        <source>The document “%1” could not be opened.</source>
        <translation>Le document «&#xa0;%1&#xa0;» n&apos;a pas pu être ouvert.</translation>
    </message>
    <message>
        <source>%1 (*.%2);;All files (*)</source>
        <translation>%1 (*.%2);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>it is no longer there (it was moved, renamed or deleted), so it has been taken off the Open Recent menu</source>
        <translation>il n&apos;existe plus (il a été déplacé, renommé ou supprimé)&#x202f;; il a donc été retiré du menu «&#xa0;Ouvrir un fichier récent&#xa0;»</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>%1 (*.%2)</source>
        <translation>%1 (*.%2)</translation>
    </message>
    <message>
        <source>The document “%1” could not be saved.</source>
        <translation>Le document «&#xa0;%1&#xa0;» n&apos;a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>The document “%1” could not be saved as “%2”.</source>
        <translation>Le document «&#xa0;%1&#xa0;» n&apos;a pas pu être enregistré sous «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>Saving “%1”…</source>
        <translation>Enregistrement de «&#xa0;%1&#xa0;»…</translation>
    </message>
    <message>
        <source>there is not enough memory to save the document</source>
        <translation>la mémoire est insuffisante pour enregistrer le document</translation>
    </message>
    <message>
        <source>The window showing “%1” was closed, because the file was replaced by this document.</source>
        <translation>La fenêtre affichant «&#xa0;%1&#xa0;» a été fermée, car le fichier a été remplacé par ce document.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>Le fichier %1 existe déjà.
Voulez-vous l&apos;écraser&#x202f;?</translation>
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
        <translation>Exporter l&apos;animation</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>&amp;Fichier&#xa0;:</translation>
    </message>
    <message>
        <source>The suffix names the format: .webm, .mp4, .gif or .webp</source>
        <translation>L&apos;extension détermine le format&#xa0;: .webm, .mp4, .gif ou .webp</translation>
    </message>
    <message>
        <source>C&amp;hoose…</source>
        <translation>C&amp;hoisir…</translation>
    </message>
    <message>
        <source>&amp;Length:</source>
        <translation>&amp;Durée&#xa0;:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Taille&#xa0;:</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
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
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>&amp;Transparent background (GIF and WebP)</source>
        <translation>Arrière-plan t&amp;ransparent (GIF et WebP)</translation>
    </message>
</context>
<context>
    <name>FileKind</name>
    <message>
        <source>it is a folder, not a file</source>
        <translation>c&apos;est un dossier, pas un fichier</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>c&apos;est un périphérique, pas un fichier</translation>
    </message>
    <message>
        <source>it is a named pipe, not a file</source>
        <translation>c&apos;est un tube nommé, pas un fichier</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>c&apos;est un socket, pas un fichier</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>“%1” is a folder, not a file: only ordinary files are saved over</source>
        <translation>«&#xa0;%1&#xa0;» est un dossier, pas un fichier&#xa0;: seuls les fichiers ordinaires sont écrasés</translation>
    </message>
    <message>
        <source>“%1” is a device, not a file: only ordinary files are saved over</source>
        <translation>«&#xa0;%1&#xa0;» est un périphérique, pas un fichier&#xa0;: seuls les fichiers ordinaires sont écrasés</translation>
    </message>
    <message>
        <source>“%1” is a named pipe, not a file: only ordinary files are saved over</source>
        <translation>«&#xa0;%1&#xa0;» est un tube nommé, pas un fichier&#xa0;: seuls les fichiers ordinaires sont écrasés</translation>
    </message>
    <message>
        <source>“%1” is a socket, not a file: only ordinary files are saved over</source>
        <translation>«&#xa0;%1&#xa0;» est un socket, pas un fichier&#xa0;: seuls les fichiers ordinaires sont écrasés</translation>
    </message>
    <message>
        <source>“%1” is not a file: only ordinary files are saved over</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un fichier&#xa0;: seuls les fichiers ordinaires sont écrasés</translation>
    </message>
</context>
<context>
    <name>FileReading</name>
    <message>
        <source>the file is too large to open: it holds %1 (%2 bytes), and the limit is %3</source>
        <translation>le fichier est trop volumineux pour être ouvert&#xa0;: il contient %1 (%2 octets), et la limite est de %3</translation>
    </message>
    <message>
        <source>there is not enough memory to open the file</source>
        <translation>la mémoire est insuffisante pour ouvrir le fichier</translation>
    </message>
    <message>
        <source>the file changed while it was being read. Try again once it is complete</source>
        <translation>le fichier a changé pendant sa lecture. Réessayez une fois qu&apos;il sera complet</translation>
    </message>
</context>
<context>
    <name>FullScreenSwitch</name>
    <message>
        <source>Leave Full Screen</source>
        <translation>Quitter le plein écran</translation>
    </message>
</context>
<context>
    <name>ImageExport</name>
    <message>
        <source>%1 image (%2)</source>
        <translation>Image %1 (%2)</translation>
    </message>
    <message>
        <source>The image “%1” could not be written.</source>
        <translation>L&apos;image «&#xa0;%1&#xa0;» n&apos;a pas pu être écrite.</translation>
    </message>
    <message>
        <source>Export Image</source>
        <translation>Exporter l&apos;image</translation>
    </message>
    <message>
        <source>&amp;Transparent background (PNG)</source>
        <translation>Arrière-plan t&amp;ransparent (PNG)</translation>
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
        <translation>Scène</translation>
    </message>
    <message>
        <source>Turn the scene</source>
        <translation>Faire pivoter la scène</translation>
    </message>
    <message>
        <source>Drag, or the arrow keys</source>
        <translation>Glisser, ou les touches fléchées</translation>
    </message>
    <message>
        <source>Move the scene</source>
        <translation>Déplacer la scène</translation>
    </message>
    <message>
        <source>Shift+drag, or drag with the middle button</source>
        <translation>Maj+glisser, ou glisser avec le bouton du milieu</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoomer</translation>
    </message>
    <message>
        <source>Wheel, pinch, or + and -</source>
        <translation>Molette, pincement, ou + et -</translation>
    </message>
    <message>
        <source>The scene&apos;s menu</source>
        <translation>Menu de la scène</translation>
    </message>
    <message>
        <source>Right click, or the Menu key</source>
        <translation>Clic droit, ou la touche Menu</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Quitter le plein écran</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Échap</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Raccourcis clavier</translation>
    </message>
</context>
<context>
    <name>KeyedArchiver</name>
    <message>
        <source>there is not enough memory to save the scene</source>
        <translation>la mémoire est insuffisante pour enregistrer la scène</translation>
    </message>
</context>
<context>
    <name>OffscreenRenderer</name>
    <message>
        <source>a picture can be at most %1 pixels wide and high here</source>
        <translation>une image peut faire ici au plus %1 pixels de large et de haut</translation>
    </message>
    <message>
        <source>the OpenGL driver could not make a framebuffer of that size</source>
        <translation>le pilote OpenGL n&apos;a pas pu créer de framebuffer de cette taille</translation>
    </message>
    <message>
        <source>there is not enough memory for a picture of that size</source>
        <translation>la mémoire est insuffisante pour une image de cette taille</translation>
    </message>
    <message>
        <source>the finished picture could not be read back</source>
        <translation>l&apos;image terminée n&apos;a pas pu être relue</translation>
    </message>
</context>
<context>
    <name>OrbalinDocument</name>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Ouvrir un fichier &amp;récent</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aid&amp;e</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouveau</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Ouvrir…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Enregistrer &amp;sous…</translation>
    </message>
    <message>
        <source>&amp;Export Image…</source>
        <translation>Exporter l&apos;&amp;image…</translation>
    </message>
    <message>
        <source>Export Ani&amp;mation…</source>
        <translation>Exporter l&apos;&amp;animation…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Pause Animation</source>
        <translation>Mettre l&apos;animation en &amp;pause</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;avant</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom a&amp;rrière</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Raccourcis clavier</translation>
    </message>
    <message>
        <source>Reset &amp;View</source>
        <translation>Réinitialiser la &amp;vue</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>Plein écra&amp;n</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;About Orbalin</source>
        <translation>À &amp;propos d&apos;Orbalin</translation>
    </message>
    <message>
        <source>its scene is not on show yet, so there is nothing to save: save again once its window shows the scene. Nothing was written</source>
        <translation>sa scène n&apos;est pas encore affichée, il n&apos;y a donc rien à enregistrer&#xa0;: enregistrez à nouveau une fois que sa fenêtre affiche la scène. Rien n&apos;a été écrit</translation>
    </message>
    <message>
        <source>Orbalin Scene</source>
        <translation>Scène Orbalin</translation>
    </message>
</context>
<context>
    <name>PictureFormats</name>
    <message>
        <source>“%1” does not name a picture format that can be written here: its suffix must be one of %2</source>
        <translation>«&#xa0;%1&#xa0;» ne désigne pas un format d&apos;image qui puisse être écrit ici&#xa0;: son extension doit être l&apos;une de %2</translation>
    </message>
    <message>
        <source>there is no picture to write</source>
        <translation>il n&apos;y a aucune image à écrire</translation>
    </message>
</context>
<context>
    <name>PropertyList</name>
    <message>
        <source>a null value</source>
        <translation>une valeur nulle</translation>
    </message>
    <message>
        <source>a boolean</source>
        <translation>un booléen</translation>
    </message>
    <message>
        <source>an integer</source>
        <translation>un entier</translation>
    </message>
    <message>
        <source>a real number</source>
        <translation>un nombre réel</translation>
    </message>
    <message>
        <source>a date</source>
        <translation>une date</translation>
    </message>
    <message>
        <source>a block of data</source>
        <translation>un bloc de données</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>une chaîne de caractères</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>un tableau</translation>
    </message>
    <message>
        <source>a set</source>
        <translation>un ensemble</translation>
    </message>
    <message>
        <source>a dictionary</source>
        <translation>un dictionnaire</translation>
    </message>
    <message>
        <source>an object reference</source>
        <translation>une référence d&apos;objet</translation>
    </message>
    <message>
        <source>an unknown value</source>
        <translation>une valeur inconnue</translation>
    </message>
    <message>
        <source>it is not a property list</source>
        <translation>ce n&apos;est pas une liste de propriétés</translation>
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
        <translation>&amp;Vider le menu</translation>
    </message>
</context>
<context>
    <name>RecordCommand</name>
    <message>
        <source>The animation for standard output</source>
        <translation>L&apos;animation pour la sortie standard</translation>
    </message>
    <message>
        <source>The animation “%1”</source>
        <translation>L&apos;animation «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 could not be made.</source>
        <translation>%1 n&apos;a pas pu être créée.</translation>
    </message>
    <message>
        <source>%1 needs even sides: the animation is %2x%3 pixels.</source>
        <translation>%1 exige des côtés pairs&#xa0;: l&apos;animation fait %2x%3 pixels.</translation>
    </message>
    <message>
        <source>standard output is a terminal; send the animation to a file or a pipe</source>
        <translation>la sortie standard est un terminal&#x202f;; envoyez l&apos;animation vers un fichier ou un tube</translation>
    </message>
    <message>
        <source>; --output - writes the animation to standard output</source>
        <translation>&#x202f;; --output - écrit l&apos;animation sur la sortie standard</translation>
    </message>
    <message>
        <source>standard output is closed; send the animation to a file or a pipe</source>
        <translation>la sortie standard est fermée&#x202f;; envoyez l&apos;animation vers un fichier ou un tube</translation>
    </message>
</context>
<context>
    <name>RenderCommand</name>
    <message>
        <source>standard output is closed; send the picture to a file or a pipe</source>
        <translation>la sortie standard est fermée&#x202f;; envoyez l&apos;image vers un fichier ou un tube</translation>
    </message>
    <message>
        <source>standard output is a terminal; send the picture to a file or a pipe</source>
        <translation>la sortie standard est un terminal&#x202f;; envoyez l&apos;image vers un fichier ou un tube</translation>
    </message>
    <message>
        <source>The picture for standard output</source>
        <translation>L&apos;image pour la sortie standard</translation>
    </message>
    <message>
        <source>The picture “%1”</source>
        <translation>L&apos;image «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 could not be drawn.</source>
        <translation>%1 n&apos;a pas pu être dessinée.</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 n&apos;a pas pu être écrite.</translation>
    </message>
    <message>
        <source>; --output - writes the picture to standard output</source>
        <translation>&#x202f;; --output - écrit l&apos;image sur la sortie standard</translation>
    </message>
</context>
<context>
    <name>RenderOptions</name>
    <message>
        <source>Draws one frame of SCENE into PICTURE and exits.</source>
        <translation>Dessine une image de SCENE dans PICTURE et quitte.</translation>
    </message>
    <message>
        <source>The picture&apos;s size in pixels, as WxH, or N for N×N, each from 1 to %1 (less when the OpenGL driver draws less; default 640x480).</source>
        <translation>La taille de l&apos;image en pixels, sous la forme WxH, ou N pour N×N, chacun de 1 à %1 (moins si le pilote OpenGL dessine moins&#x202f;; par défaut 640x480).</translation>
    </message>
    <message>
        <source>Draws the frame after N ticks of the animation, 16 ms each (default 1). A window&apos;s very first frame comes before any tick, when its camera is not in place yet and shows nothing; 0 draws that frame.</source>
        <translation>Dessine l&apos;image après N pas de l&apos;animation, de 16 ms chacun (par défaut 1). La toute première image d&apos;une fenêtre vient avant tout pas, quand sa caméra n&apos;est pas encore en place et ne montre rien&#x202f;; 0 dessine cette image.</translation>
    </message>
    <message>
        <source>Picks the random camera with seed N (0 to 4294967295) instead of the clock: the same scene, seed, ticks and size always give the same picture.</source>
        <translation>Choisit la caméra aléatoire avec la graine N (0 à 4294967295) au lieu de l&apos;horloge&#xa0;: la même scène, la même graine, les mêmes pas et la même taille donnent toujours la même image.</translation>
    </message>
    <message>
        <source>Records SECONDS of the animation into an animation file instead of a picture: WebM, MP4, GIF or WebP, named by the suffix of --output or by --format (WebM for - or a name without a suffix). Its first frame is the picture --ticks would draw.</source>
        <translation>Enregistre SECONDS secondes de l&apos;animation dans un fichier d&apos;animation au lieu d&apos;une image&#xa0;: WebM, MP4, GIF ou WebP, selon l&apos;extension de --output ou selon --format (WebM pour - ou un nom sans extension). Sa première image est celle que --ticks dessinerait.</translation>
    </message>
    <message>
        <source>With --duration, frames per second (default 31.25): one frame every N ticks of 16 ms, N = 62.5 / FPS rounded, so the rate is 62.5 / N.</source>
        <translation>Avec --duration, les images par seconde (par défaut 31.25)&#xa0;: une image tous les N pas de 16 ms, N = 62.5 / FPS arrondi, la fréquence est donc de 62.5 / N.</translation>
    </message>
    <message>
        <source>black (the default), or transparent: the lines on nothing, for PNG pictures and GIF and WebP animations.</source>
        <translation>black (par défaut) ou transparent&#xa0;: les lignes sur rien, pour les images PNG et les animations GIF et WebP.</translation>
    </message>
    <message>
        <source>The picture to write (with --render), or - for standard output. Its suffix names the format (%1); a name without a suffix, and -, get --format&apos;s, or PNG. With --duration, the animation (%2; all but MP4 may go to -).</source>
        <translation>L&apos;image à écrire (avec --render), ou - pour la sortie standard. Son extension détermine le format (%1)&#x202f;; un nom sans extension, et -, prennent celui de --format, ou PNG. Avec --duration, l&apos;animation (%2&#x202f;; toutes sauf MP4 peuvent aller vers -).</translation>
    </message>
    <message>
        <source>The picture&apos;s format (one of %1), or the animation&apos;s (one of %2), for --output - or a name without a suffix; a name&apos;s suffix must agree with it.</source>
        <translation>Le format de l&apos;image (l&apos;un de %1), ou celui de l&apos;animation (l&apos;un de %2), pour --output - ou un nom sans extension&#x202f;; l&apos;extension d&apos;un nom doit lui correspondre.</translation>
    </message>
    <message>
        <source>--render needs --output PICTURE, the picture to write.</source>
        <translation>--render exige --output PICTURE, l&apos;image à écrire.</translation>
    </message>
    <message>
        <source>--background takes black or transparent, not “%1”.</source>
        <translation>--background attend black ou transparent, et non «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>--ticks takes a whole number from 0 to %1, not “%2”.</source>
        <translation>--ticks attend un nombre entier de 0 à %1, et non «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>--seed takes a whole number from 0 to 4294967295, not “%1”.</source>
        <translation>--seed attend un nombre entier de 0 à 4294967295, et non «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>--fps goes with --duration.</source>
        <translation>--fps s&apos;utilise avec --duration.</translation>
    </message>
    <message>
        <source>--format takes one of %1, not “%2”.</source>
        <translation>--format attend l&apos;un de %1, et non «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>“%1” names another format than --format %2.</source>
        <translation>«&#xa0;%1&#xa0;» désigne un autre format que --format %2.</translation>
    </message>
    <message>
        <source>--background transparent needs a picture that keeps transparency: PNG.</source>
        <translation>--background transparent exige une image qui conserve la transparence&#xa0;: PNG.</translation>
    </message>
    <message>
        <source>--duration takes seconds, more than 0 and at most %1, not “%2”.</source>
        <translation>--duration attend des secondes, plus de 0 et au plus %1, et non «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>--fps takes a number of frames per second from %1 to %2, not “%3”.</source>
        <translation>--fps attend un nombre d&apos;images par seconde de %1 à %2, et non «&#xa0;%3&#xa0;».</translation>
    </message>
    <message>
        <source>--format takes one of %1 with --duration, not “%2”.</source>
        <translation>--format attend l&apos;un de %1 avec --duration, et non «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>“%1” does not name an animation format: its suffix must be one of %2.</source>
        <translation>«&#xa0;%1&#xa0;» ne désigne pas un format d&apos;animation&#xa0;: son extension doit être l&apos;une de %2.</translation>
    </message>
    <message>
        <source>%1 cannot go to standard output: it is written with its index last; name a file, or stream WebM, GIF or WebP.</source>
        <translation>%1 ne peut pas aller vers la sortie standard&#xa0;: son index est écrit en dernier&#x202f;; indiquez un fichier, ou diffusez du WebM, du GIF ou du WebP.</translation>
    </message>
    <message>
        <source>%1 plays at most %2 frames a second, not --fps %3.</source>
        <translation>%1 ne dépasse pas %2 images par seconde, et non --fps %3.</translation>
    </message>
    <message>
        <source>--background transparent needs an animation that keeps transparency: GIF or WebP, not %1.</source>
        <translation>--background transparent exige une animation qui conserve la transparence&#xa0;: GIF ou WebP, et non %1.</translation>
    </message>
</context>
<context>
    <name>SafeFileWriter</name>
    <message>
        <source>“%1” is a link that another user made in a shared folder: it is not followed</source>
        <translation>«&#xa0;%1&#xa0;» est un lien créé par un autre utilisateur dans un dossier partagé&#xa0;: il n&apos;est pas suivi</translation>
    </message>
    <message>
        <source>“%1” changed while it was being saved</source>
        <translation>«&#xa0;%1&#xa0;» a changé pendant son enregistrement</translation>
    </message>
    <message>
        <source>the folder “%1” is not there</source>
        <translation>le dossier «&#xa0;%1&#xa0;» n&apos;existe pas</translation>
    </message>
</context>
<context>
    <name>SceneArchiveRules</name>
    <message>
        <source>there is not enough memory to open the file</source>
        <translation>la mémoire est insuffisante pour ouvrir le fichier</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>le fichier est vide</translation>
    </message>
    <message>
        <source>the file is not a scene: %1</source>
        <translation>le fichier n&apos;est pas une scène&#xa0;: %1</translation>
    </message>
    <message>
        <source>the file is damaged and cannot be read (%1)</source>
        <translation>le fichier est endommagé et ne peut pas être lu (%1)</translation>
    </message>
    <message>
        <source>it is a property list, but not a keyed archive</source>
        <translation>c&apos;est une liste de propriétés, mais pas une archive à clés</translation>
    </message>
    <message>
        <source>it is a keyed archive of a version other than %1</source>
        <translation>c&apos;est une archive à clés d&apos;une autre version que %1</translation>
    </message>
    <message>
        <source>the file is damaged: its archived objects are missing (it has no “$objects” array)</source>
        <translation>le fichier est endommagé&#xa0;: ses objets archivés manquent (il n&apos;a pas de tableau «&#xa0;$objects&#xa0;»)</translation>
    </message>
    <message>
        <source>the file is damaged: it holds no scene (the archive has no root object)</source>
        <translation>le fichier est endommagé&#xa0;: il ne contient aucune scène (l&apos;archive n&apos;a pas d&apos;objet racine)</translation>
    </message>
    <message>
        <source>it holds %1, not a list of point pairs</source>
        <translation>il contient %1, pas une liste de paires de points</translation>
    </message>
    <message>
        <source>it holds an object of class “%1”, not a list of point pairs</source>
        <translation>il contient un objet de classe «&#xa0;%1&#xa0;», pas une liste de paires de points</translation>
    </message>
    <message>
        <source>the file is damaged: its list of point pairs is missing (the array has no “NS.objects”)</source>
        <translation>le fichier est endommagé&#xa0;: sa liste de paires de points manque (le tableau n&apos;a pas de «&#xa0;NS.objects&#xa0;»)</translation>
    </message>
    <message>
        <source>the file holds more than %L1 pairs, the most Orbalin opens</source>
        <translation>le fichier contient plus de %L1 paires, le maximum qu&apos;Orbalin ouvre</translation>
    </message>
    <message>
        <source>the scene</source>
        <translation>la scène</translation>
    </message>
    <message>
        <source>pair %1</source>
        <translation>la paire %1</translation>
    </message>
    <message>
        <source>%1&apos;s first point</source>
        <translation>le premier point de %1</translation>
    </message>
    <message>
        <source>%1&apos;s second point</source>
        <translation>le second point de %1</translation>
    </message>
    <message>
        <source>the object under “%1” in %2</source>
        <translation>l&apos;objet sous «&#xa0;%1&#xa0;» dans %2</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 manque</translation>
    </message>
    <message>
        <source>%1 has no first point</source>
        <translation>%1 n&apos;a pas de premier point</translation>
    </message>
    <message>
        <source>%1 has no second point</source>
        <translation>%1 n&apos;a pas de second point</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>%1 est illisible</translation>
    </message>
    <message>
        <source>%1 is not a point pair</source>
        <translation>%1 n&apos;est pas une paire de points</translation>
    </message>
    <message>
        <source>%1 is not a point</source>
        <translation>%1 n&apos;est pas un point</translation>
    </message>
    <message>
        <source>%1 has no valid x coordinate</source>
        <translation>%1 n&apos;a pas de coordonnée x valide</translation>
    </message>
    <message>
        <source>%1 has no valid y coordinate</source>
        <translation>%1 n&apos;a pas de coordonnée y valide</translation>
    </message>
    <message>
        <source>%1 has no valid z coordinate</source>
        <translation>%1 n&apos;a pas de coordonnée z valide</translation>
    </message>
    <message>
        <source>%1 has no valid red component</source>
        <translation>%1 n&apos;a pas de composante rouge valide</translation>
    </message>
    <message>
        <source>%1 has no valid green component</source>
        <translation>%1 n&apos;a pas de composante verte valide</translation>
    </message>
    <message>
        <source>%1 has no valid blue component</source>
        <translation>%1 n&apos;a pas de composante bleue valide</translation>
    </message>
    <message>
        <source>%1 has no valid opacity</source>
        <translation>%1 n&apos;a pas d&apos;opacité valide</translation>
    </message>
    <message>
        <source>%1 has an invalid value</source>
        <translation>%1 a une valeur non valide</translation>
    </message>
    <message>
        <source>the file is damaged: %1</source>
        <translation>le fichier est endommagé&#xa0;: %1</translation>
    </message>
    <message>
        <source>the file is damaged: %1 (%2)</source>
        <translation>le fichier est endommagé&#xa0;: %1 (%2)</translation>
    </message>
    <message>
        <source>object %1 is not in the archive</source>
        <translation>l&apos;objet %1 n&apos;est pas dans l&apos;archive</translation>
    </message>
    <message>
        <source>it is stored as %1 instead of a reference</source>
        <translation>le fichier contient à cet endroit %1 au lieu d&apos;une référence</translation>
    </message>
    <message>
        <source>it has no class</source>
        <translation>aucune classe n&apos;est indiquée</translation>
    </message>
    <message>
        <source>its class reference is damaged</source>
        <translation>sa référence de classe est endommagée</translation>
    </message>
    <message>
        <source>its class is object %1, which is not in the archive</source>
        <translation>sa classe est l&apos;objet %1, qui n&apos;est pas dans l&apos;archive</translation>
    </message>
    <message>
        <source>its class description is damaged</source>
        <translation>sa description de classe est endommagée</translation>
    </message>
    <message>
        <source>the archive holds a “%1” there</source>
        <translation>l&apos;archive contient à cet endroit un objet «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>the archive holds an object of class “%1”, which a scene may not contain</source>
        <translation>l&apos;archive contient un objet de classe «&#xa0;%1&#xa0;», qu&apos;une scène ne peut pas contenir</translation>
    </message>
    <message>
        <source>the archive holds %1 there</source>
        <translation>l&apos;archive contient à cet endroit %1</translation>
    </message>
    <message>
        <source>it refers back to an object that contains it</source>
        <translation>une référence renvoie à un objet qui l&apos;englobe</translation>
    </message>
    <message>
        <source>%1 holds %2, not an object reference</source>
        <translation>%1 contient %2, pas une référence d&apos;objet</translation>
    </message>
    <message>
        <source>%1 holds %2, not a number</source>
        <translation>%1 contient %2, pas un nombre</translation>
    </message>
    <message>
        <source>%1 is not a finite number</source>
        <translation>%1 n&apos;est pas un nombre fini</translation>
    </message>
    <message>
        <source>%1 is too large for a point</source>
        <translation>%1 est trop grand pour un point</translation>
    </message>
</context>
<context>
    <name>SceneCommands</name>
    <message>
        <source>&amp;Resume Animation</source>
        <translation>Re&amp;prendre l&apos;animation</translation>
    </message>
    <message>
        <source>&amp;Pause Animation</source>
        <translation>Mettre l&apos;animation en &amp;pause</translation>
    </message>
    <message>
        <source>Leave &amp;Full Screen</source>
        <translation>&amp;Quitter le plein écran</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>Plein écra&amp;n</translation>
    </message>
</context>
<context>
    <name>SceneViewHost</name>
    <message numerus="yes">
        <source>A scene of %n segment(s), paused.</source>
        <translation>
            <numerusform>Une scène de %n segment, en pause.</numerusform>
            <numerusform>Une scène de %n segments, en pause.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>A scene of %n segment(s), moving.</source>
        <translation>
            <numerusform>Une scène de %n segment, en mouvement.</numerusform>
            <numerusform>Une scène de %n segments, en mouvement.</numerusform>
        </translation>
    </message>
    <message>
        <source>turned</source>
        <translation>tournée</translation>
    </message>
    <message>
        <source>zoomed</source>
        <translation>zoomée</translation>
    </message>
    <message>
        <source>moved</source>
        <translation>déplacée</translation>
    </message>
    <message>
        <source>Seen as the camera orbits it.</source>
        <translation>Vue pendant que la caméra tourne autour d&apos;elle.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 et %2</translation>
    </message>
    <message>
        <source>You have %1 it.</source>
        <translation>Vous l&apos;avez %1.</translation>
    </message>
    <message>
        <source>Full screen.</source>
        <translation>Plein écran.</translation>
    </message>
    <message>
        <source>Scene</source>
        <translation>Scène</translation>
    </message>
</context>
<context>
    <name>Screensaver</name>
    <message>
        <source>a screen saver draws on X11 only, not on the “%1” platform; Wayland has no way to hand a screen saver&apos;s window to a program.</source>
        <translation>un économiseur d&apos;écran ne dessine que sous X11, pas sur la plateforme «&#xa0;%1&#xa0;»&#x202f;; Wayland n&apos;offre aucun moyen de confier la fenêtre d&apos;un économiseur d&apos;écran à un programme.</translation>
    </message>
    <message>
        <source>a screen saver draws on X11 only, not on the “%1” platform.</source>
        <translation>un économiseur d&apos;écran ne dessine que sous X11, pas sur la plateforme «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>a screen saver needs an X11 display, and DISPLAY is not set.</source>
        <translation>un économiseur d&apos;écran a besoin d&apos;un affichage X11, et DISPLAY n&apos;est pas défini.</translation>
    </message>
    <message>
        <source>a screen saver needs X11, and this is a Wayland session: Wayland has no way to hand a screen saver&apos;s window to a program.</source>
        <translation>un économiseur d&apos;écran a besoin de X11, et ceci est une session Wayland&#xa0;: Wayland n&apos;offre aucun moyen de confier la fenêtre d&apos;un économiseur d&apos;écran à un programme.</translation>
    </message>
    <message>
        <source>cannot connect to the X11 display “%1”.</source>
        <translation>impossible de se connecter à l&apos;affichage X11 «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>cannot catch SIGTERM: %1</source>
        <translation>impossible d&apos;intercepter SIGTERM&#xa0;: %1</translation>
    </message>
    <message>
        <source>a screen saver draws on X11 only.</source>
        <translation>un économiseur d&apos;écran ne dessine que sous X11.</translation>
    </message>
    <message>
        <source>Random scenes are shown instead.</source>
        <translation>Des scènes aléatoires sont affichées à la place.</translation>
    </message>
    <message>
        <source>XSCREENSAVER_WINDOW holds “%1”, which is no X11 window id.</source>
        <translation>XSCREENSAVER_WINDOW contient «&#xa0;%1&#xa0;», qui n&apos;est pas un identifiant de fenêtre X11.</translation>
    </message>
    <message>
        <source>there is no X11 window 0x%1 to draw into.</source>
        <translation>il n&apos;y a pas de fenêtre X11 0x%1 dans laquelle dessiner.</translation>
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
        <translation>Économiseur d&apos;écran&#xa0;: dessine dans la fenêtre désignée par XSCREENSAVER_WINDOW, quand le démon d&apos;économiseur d&apos;écran le lance, ou sinon en plein écran.</translation>
    </message>
    <message>
        <source>Screen saver: draws into the X11 window ID (0x... or decimal), filling it and following its size.</source>
        <translation>Économiseur d&apos;écran&#xa0;: dessine dans la fenêtre X11 d&apos;identifiant ID (0x... ou décimal), en la remplissant et en suivant sa taille.</translation>
    </message>
    <message>
        <source>Screen saver: the animation&apos;s tick, in microseconds (default 16000); a shorter tick animates faster.</source>
        <translation>Économiseur d&apos;écran&#xa0;: le pas de l&apos;animation, en microsecondes (par défaut 16000)&#x202f;; un pas plus court anime plus vite.</translation>
    </message>
    <message>
        <source>Screen saver: multiplies the camera&apos;s turning and drifting (default 1).</source>
        <translation>Économiseur d&apos;écran&#xa0;: multiplie la rotation et la dérive de la caméra (par défaut 1).</translation>
    </message>
    <message>
        <source>Screen saver: a new random scene every SECONDS (default 180; 0 keeps the first).</source>
        <translation>Économiseur d&apos;écran&#xa0;: une nouvelle scène aléatoire toutes les SECONDS secondes (par défaut 180&#x202f;; 0 garde la première).</translation>
    </message>
    <message>
        <source>Screen saver: shows the frame rate in a corner. With --render and --duration, --fps FPS is the animation&apos;s frames per second (default 31.25: a frame every N ticks of 16 ms, N = 62.5 / FPS rounded).</source>
        <translation>Économiseur d&apos;écran&#xa0;: affiche la fréquence d&apos;images dans un coin. Avec --render et --duration, --fps FPS donne le nombre d&apos;images par seconde de l&apos;animation (par défaut 31.25&#xa0;: une image tous les N pas de 16 ms, N = 62.5 / FPS arrondi).</translation>
    </message>
    <message>
        <source>Screen saver: shows the scene in FILE instead of random scenes.</source>
        <translation>Économiseur d&apos;écran&#xa0;: affiche la scène de FILE au lieu de scènes aléatoires.</translation>
    </message>
    <message>
        <source>--window-id takes an X11 window id, 0x... or decimal, not “%1”</source>
        <translation>--window-id attend un identifiant de fenêtre X11, 0x... ou décimal, et non «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>--delay takes microseconds from 0 to %1, not “%2”</source>
        <translation>--delay attend des microsecondes de 0 à %1, et non «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>--speed takes a factor above 0 and up to %1, not “%2”</source>
        <translation>--speed attend un facteur supérieur à 0 et jusqu&apos;à %1, et non «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>--new-scene-every takes seconds from 0 to %1, not “%2”</source>
        <translation>--new-scene-every attend des secondes de 0 à %1, et non «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>a screen saver shows one scene at a time: name it with --scene, not as “%1”</source>
        <translation>un économiseur d&apos;écran affiche une scène à la fois&#xa0;: indiquez-la avec --scene, et non sous la forme «&#xa0;%1&#xa0;»</translation>
    </message>
</context>
<context>
    <name>SurfacelessGl</name>
    <message>
        <source>%1 failed (EGL error 0x%2)</source>
        <translation>%1 a échoué (erreur EGL 0x%2)</translation>
    </message>
    <message>
        <source>this system&apos;s EGL has no surfaceless platform (Mesa&apos;s libegl-mesa0 provides one)</source>
        <translation>l&apos;EGL de ce système n&apos;a pas de plateforme sans surface (libegl-mesa0 de Mesa en fournit une)</translation>
    </message>
    <message>
        <source>this system&apos;s EGL cannot open a platform display</source>
        <translation>l&apos;EGL de ce système ne peut pas ouvrir d&apos;affichage de plateforme</translation>
    </message>
    <message>
        <source>this system&apos;s EGL cannot make a context without a surface</source>
        <translation>l&apos;EGL de ce système ne peut pas créer de contexte sans surface</translation>
    </message>
    <message>
        <source>Opening the surfaceless EGL display</source>
        <translation>l&apos;ouverture de l&apos;affichage EGL sans surface</translation>
    </message>
    <message>
        <source>Choosing desktop OpenGL</source>
        <translation>le choix d&apos;OpenGL pour ordinateur de bureau</translation>
    </message>
    <message>
        <source>Making an OpenGL context</source>
        <translation>la création d&apos;un contexte OpenGL</translation>
    </message>
    <message>
        <source>Making the OpenGL context current</source>
        <translation>l&apos;activation du contexte OpenGL</translation>
    </message>
</context>
<context>
    <name>Windows</name>
    <message>
        <source>there is no display to show windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); --render draws pictures without one.</source>
        <translation>il n&apos;y a aucun affichage sur lequel montrer des fenêtres (ni DISPLAY ni WAYLAND_DISPLAY n&apos;est défini)&#x202f;; --render dessine des images sans affichage.</translation>
    </message>
    <message>
        <source>the “%1” platform cannot show OpenGL windows, which scenes are drawn in; --render draws pictures without a display.</source>
        <translation>la plateforme «&#xa0;%1&#xa0;» ne peut pas afficher les fenêtres OpenGL dans lesquelles les scènes sont dessinées&#x202f;; --render dessine des images sans affichage.</translation>
    </message>
</context>
<context>
    <name>XmlObjects</name>
    <message>
        <source>object %1 does not exist</source>
        <translation>l&apos;objet %1 n&apos;existe pas</translation>
    </message>
</context>
<context>
    <name>XmlReading</name>
    <message>
        <source>it is an XML document, but not a property list (line %1: %2)</source>
        <translation>c&apos;est un document XML, mais pas une liste de propriétés (ligne %1&#xa0;: %2)</translation>
    </message>
    <message>
        <source>XML property list, line %1: %2</source>
        <translation>liste de propriétés XML, ligne %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>the file holds a stretch of XML text or markup of more than %L1 characters, the most Orbalin reads (line %L2)</source>
        <translation>le fichier contient un passage de texte ou de balisage XML de plus de %L1 caractères, le maximum qu&apos;Orbalin lit (ligne %L2)</translation>
    </message>
    <message>
        <source>the file has an element with more than %L1 attributes, the most Orbalin reads (line %L2)</source>
        <translation>le fichier a un élément de plus de %L1 attributs, le maximum qu&apos;Orbalin lit (ligne %L2)</translation>
    </message>
    <message>
        <source>the document declares entities</source>
        <translation>le document déclare des entités</translation>
    </message>
    <message>
        <source>the document declares a DTD of its own</source>
        <translation>le document déclare sa propre DTD</translation>
    </message>
    <message>
        <source>the key “%1” has no value</source>
        <translation>la clé «&#xa0;%1&#xa0;» n&apos;a pas de valeur</translation>
    </message>
    <message>
        <source>a boolean holds text</source>
        <translation>un booléen contient du texte</translation>
    </message>
    <message>
        <source>“%1” is not an integer</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un entier</translation>
    </message>
    <message>
        <source>“%1” is not a number</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un nombre</translation>
    </message>
    <message>
        <source>“%1” is not a date</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas une date</translation>
    </message>
    <message>
        <source>a &lt;data&gt; element is not valid base64</source>
        <translation>un élément &lt;data&gt; n&apos;est pas du base64 valide</translation>
    </message>
    <message>
        <source>the file holds a value of more than %L1 characters, the most Orbalin reads (line %L2)</source>
        <translation>le fichier contient une valeur de plus de %L1 caractères, le maximum qu&apos;Orbalin lit (ligne %L2)</translation>
    </message>
    <message>
        <source>text “%1” stands outside any value</source>
        <translation>le texte «&#xa0;%1&#xa0;» se trouve hors de toute valeur</translation>
    </message>
    <message>
        <source>&lt;%1&gt; holds an element</source>
        <translation>&lt;%1&gt; contient un élément</translation>
    </message>
    <message>
        <source>the document is not a &lt;plist&gt;</source>
        <translation>le document n&apos;est pas une &lt;plist&gt;</translation>
    </message>
    <message>
        <source>a &lt;key&gt; stands outside a dictionary</source>
        <translation>une &lt;key&gt; se trouve hors d&apos;un dictionnaire</translation>
    </message>
    <message>
        <source>the &lt;plist&gt; holds more than one value</source>
        <translation>la &lt;plist&gt; contient plus d&apos;une valeur</translation>
    </message>
    <message>
        <source>a dictionary value has no &lt;key&gt;</source>
        <translation>une valeur de dictionnaire n&apos;a pas de &lt;key&gt;</translation>
    </message>
    <message>
        <source>the file holds more than %L1 values, the most Orbalin reads</source>
        <translation>le fichier contient plus de %L1 valeurs, le maximum qu&apos;Orbalin lit</translation>
    </message>
    <message>
        <source>the file nests values more than %L1 deep, the most Orbalin reads (line %L2)</source>
        <translation>le fichier imbrique des valeurs sur plus de %L1 niveaux, le maximum qu&apos;Orbalin lit (ligne %L2)</translation>
    </message>
    <message>
        <source>&lt;%1&gt; is not a property-list element</source>
        <translation>&lt;%1&gt; n&apos;est pas un élément de liste de propriétés</translation>
    </message>
    <message>
        <source>the &lt;plist&gt; holds no value</source>
        <translation>la &lt;plist&gt; ne contient aucune valeur</translation>
    </message>
</context>
</TS>
