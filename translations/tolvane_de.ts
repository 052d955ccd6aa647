<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AlertTray</name>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>Oops!</source>
        <translation>Hoppla!</translation>
    </message>
    <message>
        <source>You must first select a cam from the list.</source>
        <translation>Wählen Sie zuerst eine Kamera aus der Liste.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Form8</name>
    <message>
        <source>Readme/Help</source>
        <translation>Liesmich/Hilfe</translation>
    </message>
    <message>
        <source>Show at Startup</source>
        <translation>Beim Start anzeigen</translation>
    </message>
</context>
<context>
    <name>GmtClock</name>
    <message>
        <source> (system clock)</source>
        <translation> (Systemuhr)</translation>
    </message>
</context>
<context>
    <name>SecondaryWindows</name>
    <message>
        <source>Could not open %1: no web browser could be started (%2)</source>
        <translation>%1 konnte nicht geöffnet werden: Es ließ sich kein Webbrowser starten (%2)</translation>
    </message>
    <message>
        <source>xdg-open was not found</source>
        <translation>xdg-open wurde nicht gefunden</translation>
    </message>
    <message>
        <source>xdg-open could not run: %1</source>
        <translation>xdg-open konnte nicht laufen: %1</translation>
    </message>
    <message>
        <source>xdg-open ended with status %1</source>
        <translation>xdg-open endete mit Status %1</translation>
    </message>
    <message>
        <source>xdg-open stopped</source>
        <translation>xdg-open wurde abgebrochen</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation>Eigentümer:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.
It comes with no warranty.</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder später.
Ohne jede Gewährleistung.</translation>
    </message>
</context>
<context>
    <name>frmTimelapse</name>
    <message>
        <source>Make Time-lapse</source>
        <translation>Zeitraffer erstellen</translation>
    </message>
    <message>
        <source>Cam:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>Frames per second:</source>
        <translation>Bilder pro Sekunde:</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Durchsuchen…</translation>
    </message>
    <message>
        <source>Video file:</source>
        <translation>Videodatei:</translation>
    </message>
    <message>
        <source>Make</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Video file</source>
        <translation>Videodatei</translation>
    </message>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation>MP4-Video (*.mp4)</translation>
    </message>
    <message>
        <source>%1 already exists.

Replace it with the time-lapse of &quot;%2&quot;?</source>
        <translation>%1 gibt es schon.

Durch den Zeitraffer von „%2“ ersetzen?</translation>
    </message>
    <message>
        <source>There are no saved pictures of &quot;%1&quot; in that range.</source>
        <translation>Von „%1“ gibt es in diesem Zeitraum keine gespeicherten Bilder.</translation>
    </message>
    <message>
        <source>Nothing was made; %1 is as it was.</source>
        <translation>Es wurde nichts erstellt; %1 ist unverändert.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Making the time-lapse</source>
        <translation>Zeitraffer wird erstellt</translation>
    </message>
    <message>
        <source>%1 of %2, %3 left</source>
        <translation>%1 von %2, noch %3</translation>
    </message>
    <message>
        <source>No video: %1</source>
        <translation>Kein Video: %1</translation>
    </message>
</context>
</TS>
