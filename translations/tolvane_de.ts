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
    <name>CamAlerts</name>
    <message>
        <source>second</source>
        <translation>Sekunde</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>1 cam</source>
        <translation>1 Kamera</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 Kameras</translation>
    </message>
    <message>
        <source>%1 is back</source>
        <translation>%1 ist wieder da</translation>
    </message>
    <message>
        <source>ok again after %1 down (%2)</source>
        <translation>wieder ok nach %1 Ausfall (%2)</translation>
    </message>
    <message>
        <source>%1 is %2</source>
        <translation>%1 ist %2</translation>
    </message>
    <message>
        <source>since %1</source>
        <translation>seit %1</translation>
    </message>
    <message>
        <source>down on and off since %1</source>
        <translation>immer wieder ausgefallen seit %1</translation>
    </message>
    <message>
        <source>%1 are back</source>
        <translation>%1 sind wieder da</translation>
    </message>
    <message>
        <source>%1: %2 (since %3)</source>
        <translation>%1: %2 (seit %3)</translation>
    </message>
    <message>
        <source>%1 down: %2</source>
        <translation>%1 ausgefallen: %2</translation>
    </message>
    <message>
        <source>Back: %1</source>
        <translation>Wieder da: %1</translation>
    </message>
</context>
<context>
    <name>CamCommands</name>
    <message>
        <source>Cam lists (*.csv *.txt);;All files (*)</source>
        <translation>Kameralisten (*.csv *.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Export Cams</source>
        <translation>Kameras exportieren</translation>
    </message>
    <message>
        <source>Import Cams</source>
        <translation>Kameras importieren</translation>
    </message>
    <message>
        <source>1 cam</source>
        <translation>1 Kamera</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 Kameras</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 Zeile</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>The cam was renamed, but its own settings stay under &quot;%1&quot;</source>
        <translation>Die Kamera wurde umbenannt, ihre eigenen Einstellungen bleiben aber unter „%1“</translation>
    </message>
    <message>
        <source>The cam &quot;%1&quot; was not found in the cam list file, so nothing was deleted.</source>
        <translation>Die Kamera „%1“ steht nicht in der Kameralisten-Datei; es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>Confirm Delete</source>
        <translation>Löschen bestätigen</translation>
    </message>
    <message>
        <source>Are you sure you want to delete %1?</source>
        <translation>Möchten Sie %1 wirklich löschen?</translation>
    </message>
    <message>
        <source>The cam was deleted, but its own settings could not be removed</source>
        <translation>Die Kamera wurde gelöscht, ihre eigenen Einstellungen ließen sich aber nicht entfernen</translation>
    </message>
    <message>
        <source>The cam list file has changed since it was listed, so &quot;%1&quot; was not moved. The list now shows the file as it is.</source>
        <translation>Die Kameralisten-Datei hat sich geändert, seit sie angezeigt wurde; „%1“ wurde deshalb nicht verschoben. Die Liste zeigt jetzt den aktuellen Stand der Datei.</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Imported from %1: %2 added, %3 skipped</source>
        <translation>Aus %1 importiert: %2 hinzugefügt, %3 übersprungen</translation>
    </message>
    <message>
        <source>Exported %1 to %2</source>
        <translation>%1 nach %2 exportiert</translation>
    </message>
    <message>
        <source>; not exported, their entries in the cam list file are not whole: %1</source>
        <translation>; nicht exportiert, weil ihre Einträge in der Kameralisten-Datei unvollständig sind: %1</translation>
    </message>
</context>
<context>
    <name>CamDialog</name>
    <message>
        <source>:: error</source>
        <translation>:: Fehler</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>enter the exact path to the image (found by right clicking an image in your browser and selecting &quot;properties&quot;</source>
        <translation>Geben Sie die genaue Adresse des Bildes ein (im Browser mit einem Rechtsklick auf das Bild unter „Eigenschaften“ oder „Bildadresse kopieren“ zu finden)</translation>
    </message>
    <message>
        <source>Refresh:</source>
        <translation>Aktualisierung:</translation>
    </message>
    <message>
        <source>Enter the time in seconds</source>
        <translation>Geben Sie die Zeit in Sekunden ein</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>(digits only, 1 to 999)</source>
        <translation>(nur Ziffern, 1 bis 999)</translation>
    </message>
    <message>
        <source>New picture:</source>
        <translation>Neues Bild:</translation>
    </message>
    <message>
        <source>Use the Options&apos; rule</source>
        <translation>Regel aus den Optionen verwenden</translation>
    </message>
    <message>
        <source>What makes a picture of this cam new (saved by AutoSave, kept in the history): the rule in Options, or one for this cam alone</source>
        <translation>Wann ein Bild dieser Kamera als neu gilt (von der automatischen Speicherung gesichert, im Verlauf behalten): die Regel aus den Optionen oder eine eigene nur für diese Kamera</translation>
    </message>
    <message>
        <source>Save this cam&apos;s new pictures</source>
        <translation>Neue Bilder dieser Kamera speichern</translation>
    </message>
    <message>
        <source>While AutoSave New Pictures is ticked, this cam&apos;s new pictures are saved; untick it to pass this cam over.</source>
        <translation>Solange „Automatisch speichern“ angekreuzt ist, werden die neuen Bilder dieser Kamera gespeichert; entfernen Sie das Häkchen, um diese Kamera auszulassen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>you must enter all information</source>
        <translation>Bitte füllen Sie alle Felder aus</translation>
    </message>
    <message>
        <source>the refresh time must be a whole number of seconds from 1 to 999</source>
        <translation>Die Aktualisierung muss eine ganze Zahl von Sekunden zwischen 1 und 999 sein</translation>
    </message>
    <message>
        <source>a cam named &quot;%1&quot; is already in the list: choose another name</source>
        <translation>Eine Kamera namens „%1“ ist schon in der Liste: Wählen Sie einen anderen Namen</translation>
    </message>
    <message>
        <source>The cam was saved, but &quot;%1&quot; could not be stored: %2</source>
        <translation>Die Kamera wurde gespeichert, „%1“ ließ sich aber nicht speichern: %2</translation>
    </message>
    <message>
        <source>the cam was saved, but its rule for new pictures could not be kept: %1</source>
        <translation>Die Kamera wurde gespeichert, ihre Regel für neue Bilder ließ sich aber nicht speichern: %1</translation>
    </message>
    <message>
        <source>Record:</source>
        <translation>Aufnehmen:</translation>
    </message>
    <message>
        <source>Not by the recorder</source>
        <translation>Nicht vom Recorder</translation>
    </message>
    <message>
        <source>tolvane --record saves the new pictures of the cams marked here without a window (as a service); while it runs, AutoSave leaves these cams to it.</source>
        <translation>tolvane --record speichert die neuen Bilder der hier markierten Kameras ohne Fenster (als Dienst); solange er läuft, überlässt das automatische Speichern ihm diese Kameras.</translation>
    </message>
    <message>
        <source>By the recorder (tolvane --record), on the schedule for all</source>
        <translation>Vom Recorder (tolvane --record), nach dem Zeitplan für alle</translation>
    </message>
    <message>
        <source>By the recorder, between two times</source>
        <translation>Vom Recorder, zwischen zwei Uhrzeiten</translation>
    </message>
    <message>
        <source>By the recorder, in daylight</source>
        <translation>Vom Recorder, bei Tageslicht</translation>
    </message>
    <message>
        <source>When:</source>
        <translation>Wann:</translation>
    </message>
    <message>
        <source>06:00-20:00 (local time)</source>
        <translation>06:00-20:00 (Ortszeit)</translation>
    </message>
    <message>
        <source>latitude longitude, such as 51.48 -0.01; civil may follow</source>
        <translation>Breite Länge, etwa 51.48 -0.01; civil darf folgen</translation>
    </message>
    <message>
        <source>&quot;When:&quot; takes the cam&apos;s latitude and longitude in degrees (north and east; south and west below zero), such as 51.48 -0.01, and civil after them for civil twilight</source>
        <translation>„Wann:“ nimmt Breite und Länge der Kamera in Grad (Nord und Ost; Süd und West unter null), etwa 51.48 -0.01, und danach civil für die bürgerliche Dämmerung</translation>
    </message>
    <message>
        <source>&quot;When:&quot; takes two times of day, such as 06:00-20:00</source>
        <translation>„Wann:“ nimmt zwei Uhrzeiten, etwa 06:00-20:00</translation>
    </message>
    <message>
        <source>Stream over:</source>
        <translation>Stream über:</translation>
    </message>
    <message>
        <source>TCP, inside the RTSP connection</source>
        <translation>TCP, in der RTSP-Verbindung</translation>
    </message>
    <message>
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>How an rtsp:// or rtsps:// cam sends its video: TCP passes firewalls and loses nothing; choose UDP for a cam that offers nothing else.</source>
        <translation>Wie eine rtsp://- oder rtsps://-Kamera ihr Video sendet: TCP kommt durch Firewalls und verliert nichts; wählen Sie UDP für eine Kamera, die nichts anderes anbietet.</translation>
    </message>
</context>
<context>
    <name>CamHealth</name>
    <message>
        <source>No Last-Modified on any answer, so no picture counts as new: the picture&apos;s content decides better (Options)</source>
        <translation>Keine Antwort trägt ein Last-Modified, daher gilt kein Bild als neu: Der Inhalt des Bildes entscheidet hier besser (Optionen)</translation>
    </message>
    <message>
        <source>Last-Modified changes on every answer but the picture does not: the picture&apos;s content decides better (Options)</source>
        <translation>Last-Modified ändert sich bei jeder Antwort, das Bild aber nicht: Der Inhalt des Bildes entscheidet hier besser (Optionen)</translation>
    </message>
    <message>
        <source>starting</source>
        <translation>startet</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>stale</source>
        <translation>veraltet</translation>
    </message>
    <message>
        <source>frozen</source>
        <translation>eingefroren</translation>
    </message>
    <message>
        <source>failing</source>
        <translation>gestört</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>untätig</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>verbindet</translation>
    </message>
    <message>
        <source>waiting for the answer</source>
        <translation>wartet auf die Antwort</translation>
    </message>
    <message>
        <source>receiving</source>
        <translation>empfängt</translation>
    </message>
    <message>
        <source>letting a slow download finish past the refresh interval</source>
        <translation>lässt einen langsamen Download über das Aktualisierungsintervall hinaus zu Ende laufen</translation>
    </message>
    <message>
        <source>done</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>no new picture since %1</source>
        <translation>kein neues Bild seit %1</translation>
    </message>
    <message>
        <source>the picture outside the mask has not changed since %1, though the cam keeps sending new ones</source>
        <translation>das Bild außerhalb der Maske hat sich seit %1 nicht geändert, obwohl die Kamera weiter neue sendet</translation>
    </message>
    <message>
        <source>the picture has not changed since %1, though the cam keeps sending new ones</source>
        <translation>das Bild hat sich seit %1 nicht geändert, obwohl die Kamera weiter neue sendet</translation>
    </message>
    <message>
        <source>Last fetch: %1</source>
        <translation>Letzter Abruf: %1</translation>
    </message>
    <message>
        <source>Now: %1</source>
        <translation>Jetzt: %1</translation>
    </message>
    <message>
        <source>none yet</source>
        <translation>noch keines</translation>
    </message>
    <message>
        <source>Last picture: %1</source>
        <translation>Letztes Bild: %1</translation>
    </message>
    <message>
        <source>Last new picture: unknown (the cam sends no Last-Modified)</source>
        <translation>Letztes neues Bild: unbekannt (die Kamera sendet kein Last-Modified)</translation>
    </message>
    <message>
        <source>Last new picture: %1</source>
        <translation>Letztes neues Bild: %1</translation>
    </message>
    <message>
        <source>Failures in a row: %1</source>
        <translation>Fehlschläge in Folge: %1</translation>
    </message>
    <message>
        <source>malformed chunked body</source>
        <translation>fehlerhafter Chunked-Inhalt</translation>
    </message>
    <message>
        <source>the server closed the connection during the handshake</source>
        <translation>der Server hat die Verbindung während des Handshakes geschlossen</translation>
    </message>
    <message>
        <source>byte/s</source>
        <translation>Byte/s</translation>
    </message>
    <message>
        <source>bytes/s</source>
        <translation>Byte/s</translation>
    </message>
    <message>
        <source>%1 KB/s</source>
        <translation>%1 KB/s</translation>
    </message>
    <message>
        <source>no status line</source>
        <translation>keine Statuszeile</translation>
    </message>
    <message>
        <source>no content type</source>
        <translation>kein Inhaltstyp</translation>
    </message>
    <message>
        <source>no byte came for %1 (refresh interval %2)</source>
        <translation>%1 lang kam kein Byte (Aktualisierungsintervall %2)</translation>
    </message>
    <message>
        <source>abandoned at %1% after %2: %3</source>
        <translation>abgebrochen bei %1 % nach %2: %3</translation>
    </message>
    <message>
        <source>abandoned after %1 with %2 received: %3</source>
        <translation>abgebrochen nach %1 mit %2 empfangen: %3</translation>
    </message>
    <message>
        <source>abandoned after %1: the header was still incomplete after %2 (refresh interval %3)</source>
        <translation>abgebrochen nach %1: der Header war nach %2 noch unvollständig (Aktualisierungsintervall %3)</translation>
    </message>
    <message>
        <source>abandoned after %1: the header came, but no picture bytes within the refresh interval of %2</source>
        <translation>abgebrochen nach %1: der Header kam, aber innerhalb des Aktualisierungsintervalls von %2 keine Bilddaten</translation>
    </message>
    <message>
        <source>abandoned after %1 with %2 received, %3; the server announced no length (refresh interval %4)</source>
        <translation>abgebrochen nach %1 mit %2 empfangen, %3; der Server hat keine Länge angegeben (Aktualisierungsintervall %4)</translation>
    </message>
    <message>
        <source>the picture needs about %1, longer than the refresh interval of %2</source>
        <translation>das Bild braucht etwa %1, länger als das Aktualisierungsintervall von %2</translation>
    </message>
    <message>
        <source>the picture needs about %1, and the refresh interval is %2</source>
        <translation>das Bild braucht etwa %1, und das Aktualisierungsintervall ist %2</translation>
    </message>
    <message>
        <source>abandoned at %1% after %2, %3: %4</source>
        <translation>abgebrochen bei %1 % nach %2, %3: %4</translation>
    </message>
    <message>
        <source>TLS failure: %1</source>
        <translation>TLS-Fehler: %1</translation>
    </message>
    <message>
        <source>byte</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>certificate not trusted: self-signed</source>
        <translation>Zertifikat nicht vertrauenswürdig: selbst signiert</translation>
    </message>
    <message>
        <source>certificate not trusted: self-signed authority in its chain</source>
        <translation>Zertifikat nicht vertrauenswürdig: selbst signierte Stelle in seiner Kette</translation>
    </message>
    <message>
        <source>certificate not trusted: unknown authority</source>
        <translation>Zertifikat nicht vertrauenswürdig: unbekannte Zertifizierungsstelle</translation>
    </message>
    <message>
        <source>certificate not trusted: unknown authority %1</source>
        <translation>Zertifikat nicht vertrauenswürdig: unbekannte Zertifizierungsstelle %1</translation>
    </message>
    <message>
        <source>certificate name mismatch</source>
        <translation>Zertifikat passt nicht zum Namen</translation>
    </message>
    <message>
        <source>certificate name mismatch: it is for %1</source>
        <translation>Zertifikat passt nicht zum Namen: Es gilt für %1</translation>
    </message>
    <message>
        <source>certificate expired</source>
        <translation>Zertifikat abgelaufen</translation>
    </message>
    <message>
        <source>certificate expired on %1</source>
        <translation>Zertifikat abgelaufen am %1</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>Zertifikat noch nicht gültig</translation>
    </message>
    <message>
        <source>certificate not valid before %1</source>
        <translation>Zertifikat nicht gültig vor %1</translation>
    </message>
    <message>
        <source>certificate revoked</source>
        <translation>Zertifikat widerrufen</translation>
    </message>
    <message>
        <source>certificate problem: %1</source>
        <translation>Zertifikatsproblem: %1</translation>
    </message>
    <message>
        <source>despite %1</source>
        <translation>trotz %1</translation>
    </message>
    <message>
        <source>after %1, longer than the refresh interval of %2</source>
        <translation>nach %1, länger als das Aktualisierungsintervall von %2</translation>
    </message>
    <message>
        <source>picture shown</source>
        <translation>Bild angezeigt</translation>
    </message>
    <message>
        <source>picture shown: %1</source>
        <translation>Bild angezeigt: %1</translation>
    </message>
    <message>
        <source>header longer than %1: abandoned</source>
        <translation>Header länger als %1: abgebrochen</translation>
    </message>
    <message>
        <source>answer larger than %1: abandoned</source>
        <translation>Antwort größer als %1: abgebrochen</translation>
    </message>
    <message>
        <source>picture refused as too large: %1x%2 pixels</source>
        <translation>Bild als zu groß abgelehnt: %1x%2 Pixel</translation>
    </message>
    <message>
        <source>picture refused as too large</source>
        <translation>Bild als zu groß abgelehnt</translation>
    </message>
    <message>
        <source>redirect loop: HTTP %1 back to %2</source>
        <translation>Weiterleitungsschleife: HTTP %1 zurück zu %2</translation>
    </message>
    <message>
        <source>more than %1 redirects: HTTP %2 to %3 not followed</source>
        <translation>mehr als %1 Weiterleitungen: HTTP %2 nach %3 nicht gefolgt</translation>
    </message>
    <message>
        <source>HTTP %1 with control characters in its Location, not followed</source>
        <translation>HTTP %1 mit Steuerzeichen im Location-Feld, nicht gefolgt</translation>
    </message>
    <message>
        <source>HTTP %1 to %2, which cannot be fetched</source>
        <translation>HTTP %1 nach %2, das sich nicht abrufen lässt</translation>
    </message>
    <message>
        <source>no fetch has ended yet</source>
        <translation>noch kein Abruf beendet</translation>
    </message>
    <message>
        <source>HTTP %1 to %2, not followed</source>
        <translation>HTTP %1 nach %2, nicht gefolgt</translation>
    </message>
    <message>
        <source>empty answer: the server closed without sending anything</source>
        <translation>leere Antwort: der Server hat geschlossen, ohne etwas zu senden</translation>
    </message>
    <message>
        <source>the answer ended inside its header, after %1</source>
        <translation>die Antwort endete mitten im Header, nach %1</translation>
    </message>
    <message>
        <source>the body is not a picture</source>
        <translation>der Inhalt ist kein Bild</translation>
    </message>
    <message>
        <source>cut off: %1 of %2 received</source>
        <translation>abgeschnitten: %1 von %2 empfangen</translation>
    </message>
    <message>
        <source>cut off: the JPEG stops before its end, after %1</source>
        <translation>abgeschnitten: das JPEG hört vor seinem Ende auf, nach %1</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>host not found: %1</source>
        <translation>Rechner nicht gefunden: %1</translation>
    </message>
    <message>
        <source>connection reset by the server after %1</source>
        <translation>Verbindung vom Server zurückgesetzt nach %1</translation>
    </message>
    <message>
        <source>connection failed: %1</source>
        <translation>Verbindung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>%1 within the refresh interval of %2</source>
        <translation>%1 innerhalb des Aktualisierungsintervalls von %2</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>no connection</source>
        <translation>keine Verbindung</translation>
    </message>
    <message>
        <source>the address cannot be split into host and path: %1</source>
        <translation>die Adresse lässt sich nicht in Rechner und Pfad zerlegen: %1</translation>
    </message>
    <message>
        <source>sign-in refused</source>
        <translation>Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>stream without a picture</source>
        <translation>Stream ohne Bild</translation>
    </message>
    <message>
        <source>unchanged (%1)</source>
        <translation>unverändert (%1)</translation>
    </message>
    <message>
        <source>unsafe redirect: HTTP %1 from https to %2</source>
        <translation>unsichere Weiterleitung: HTTP %1 von https nach %2</translation>
    </message>
    <message>
        <source>; redirected: %1</source>
        <translation>; weitergeleitet: %1</translation>
    </message>
    <message>
        <source>refresh rate &quot;%1&quot; is not a number of seconds; it stays at %2</source>
        <translation>die Aktualisierung „%1“ ist keine Zahl von Sekunden; sie bleibt bei %2</translation>
    </message>
    <message>
        <source>the password crossed the network unencrypted (Basic sign-in over http)</source>
        <translation>das Passwort ging unverschlüsselt über das Netz (Basic-Anmeldung über http)</translation>
    </message>
    <message>
        <source>AutoSave failing since %1, %2 lost: %3</source>
        <translation>automatisches Speichern schlägt fehl seit %1, %2 verloren: %3</translation>
    </message>
    <message>
        <source>picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>AutoSave failing for %1</source>
        <translation>Automatisches Speichern schlägt fehl für %1</translation>
    </message>
    <message>
        <source>cam</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>cams</source>
        <translation>Kameras</translation>
    </message>
    <message>
        <source>waiting for a keyframe</source>
        <translation>wartet auf ein Schlüsselbild</translation>
    </message>
    <message>
        <source>RTSP sign-in refused (401)</source>
        <translation>RTSP-Anmeldung abgelehnt (401)</translation>
    </message>
    <message>
        <source>no answer from the stream within %1</source>
        <translation>keine Antwort vom Stream innerhalb von %1</translation>
    </message>
    <message>
        <source>no keyframe within %1</source>
        <translation>kein Schlüsselbild innerhalb von %1</translation>
    </message>
    <message>
        <source>codec not supported: %1</source>
        <translation>Codec nicht unterstützt: %1</translation>
    </message>
    <message>
        <source>picture too large: %1 × %2</source>
        <translation>Bild zu groß: %1 × %2</translation>
    </message>
    <message>
        <source>stream failed: %1</source>
        <translation>Stream fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>decoding the keyframe</source>
        <translation>dekodiert das Schlüsselbild</translation>
    </message>
    <message>
        <source>keyframe decoded</source>
        <translation>Schlüsselbild dekodiert</translation>
    </message>
    <message>
        <source>the stream holds no video</source>
        <translation>der Stream enthält kein Video</translation>
    </message>
    <message>
        <source>the stream ended in the middle of a keyframe</source>
        <translation>der Stream endete mitten in einem Schlüsselbild</translation>
    </message>
    <message>
        <source>the stream ended before a keyframe</source>
        <translation>der Stream endete vor einem Schlüsselbild</translation>
    </message>
    <message>
        <source>the stream ended before a keyframe: %1</source>
        <translation>der Stream endete vor einem Schlüsselbild: %1</translation>
    </message>
    <message>
        <source>no keyframe in the first %1</source>
        <translation>kein Schlüsselbild in den ersten %1</translation>
    </message>
    <message>
        <source>fetching the newest segment</source>
        <translation>holt das neueste Segment</translation>
    </message>
    <message>
        <source>fetching the playlist</source>
        <translation>holt die Playlist</translation>
    </message>
    <message>
        <source>HLS segment larger than 64 MiB</source>
        <translation>HLS-Segment größer als 64 MiB</translation>
    </message>
    <message>
        <source>HLS playlist larger than 1 MiB</source>
        <translation>HLS-Playlist größer als 1 MiB</translation>
    </message>
    <message>
        <source>not an HLS playlist</source>
        <translation>keine HLS-Playlist</translation>
    </message>
    <message>
        <source>HLS playlist with more than 10000 entries</source>
        <translation>HLS-Playlist mit mehr als 10000 Einträgen</translation>
    </message>
    <message>
        <source>HLS playlist without segments</source>
        <translation>HLS-Playlist ohne Segmente</translation>
    </message>
    <message>
        <source>HLS playlist without video</source>
        <translation>HLS-Playlist ohne Video</translation>
    </message>
    <message>
        <source>HLS playlist loop</source>
        <translation>HLS-Playlist-Schleife</translation>
    </message>
    <message>
        <source>the HLS segment holds no whole keyframe</source>
        <translation>das HLS-Segment enthält kein ganzes Schlüsselbild</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>picture taken from the live stream</source>
        <translation>Bild aus dem Live-Stream genommen</translation>
    </message>
    <message>
        <source>the HLS stream ended</source>
        <translation>der HLS-Stream ist zu Ende</translation>
    </message>
    <message>
        <source>the HLS playlist stopped growing</source>
        <translation>die HLS-Playlist wächst nicht mehr</translation>
    </message>
    <message>
        <source>HLS playlist names an address that cannot be fetched over http or https</source>
        <translation>HLS-Playlist nennt eine Adresse, die nicht über http oder https geholt werden kann</translation>
    </message>
    <message>
        <source>HLS playlist with a malformed EXT-X-MAP or EXT-X-BYTERANGE tag</source>
        <translation>HLS-Playlist mit fehlerhaftem EXT-X-MAP- oder EXT-X-BYTERANGE-Tag</translation>
    </message>
    <message>
        <source>fetching the segment&apos;s init section</source>
        <translation>holt den Initialisierungsabschnitt des Segments</translation>
    </message>
    <message>
        <source>HLS init section larger than 1 MiB</source>
        <translation>HLS-Initialisierungsabschnitt größer als 1 MiB</translation>
    </message>
    <message>
        <source>the HLS server&apos;s answer does not hold the byte range asked for</source>
        <translation>die Antwort des HLS-Servers enthält den erbetenen Bytebereich nicht</translation>
    </message>
    <message>
        <source>HLS stream is encrypted (EXT-X-KEY): not supported</source>
        <translation>HLS-Stream ist verschlüsselt (EXT-X-KEY): nicht unterstützt</translation>
    </message>
</context>
<context>
    <name>CamImport</name>
    <message>
        <source>a field holds a line break</source>
        <translation>ein Feld enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>text follows a quoted field</source>
        <translation>nach einem Feld in Anführungszeichen folgt noch Text</translation>
    </message>
    <message>
        <source>a quote is never closed</source>
        <translation>ein Anführungszeichen wird nie geschlossen</translation>
    </message>
    <message>
        <source>it has no name</source>
        <translation>sie hat keinen Namen</translation>
    </message>
    <message>
        <source>a name may not hold &quot;[name]&quot;</source>
        <translation>ein Name darf „[name]“ nicht enthalten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a cam address (http, https, rtsp or rtsps)</source>
        <translation>„%1“ ist keine Kameraadresse (http, https, rtsp oder rtsps)</translation>
    </message>
    <message>
        <source>the refresh time &quot;%1&quot; is not a whole number of seconds</source>
        <translation>die Aktualisierung „%1“ ist keine ganze Zahl von Sekunden</translation>
    </message>
    <message>
        <source>line %1 has the name &quot;%2&quot; already</source>
        <translation>Zeile %1 hat schon den Namen „%2“</translation>
    </message>
    <message>
        <source>a cam named &quot;%1&quot; is in the list already</source>
        <translation>eine Kamera namens „%1“ ist schon in der Liste</translation>
    </message>
    <message>
        <source>line %1 has the address already</source>
        <translation>Zeile %1 hat schon diese Adresse</translation>
    </message>
    <message>
        <source>the cam &quot;%1&quot; in the list has this address</source>
        <translation>die Kamera „%1“ in der Liste hat diese Adresse</translation>
    </message>
    <message>
        <source>it has %1 of the %2 fields a cam needs</source>
        <translation>sie hat %1 der %2 Felder, die eine Kamera braucht</translation>
    </message>
    <message>
        <source>it is not a cam address (http, https, rtsp or rtsps)</source>
        <translation>es ist keine Kameraadresse (http, https, rtsp oder rtsps)</translation>
    </message>
    <message>
        <source>; a CSV file begins with the header row name,address,refresh</source>
        <translation>; eine CSV-Datei beginnt mit der Kopfzeile name,address,refresh</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: %2</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Use DIR as the program folder (cam list, settings, Help.rtf, the cam folder); it is created when missing.</source>
        <translation>DIR als Programmordner verwenden (Kameraliste, Einstellungen, Help.rtf, der Ordner cam); fehlt er, wird er angelegt.</translation>
    </message>
    <message>
        <source>Start six demo cams and a clock server on this machine, in a fresh demo folder, and open them. At exit the folder is removed unless pictures were saved in it.</source>
        <translation>Sechs Demo-Kameras und einen Zeitserver auf diesem Rechner in einem neuen Demo-Ordner starten und öffnen. Beim Beenden wird der Ordner entfernt, sofern darin keine Bilder gespeichert wurden.</translation>
    </message>
    <message>
        <source>Open the cam NAME from the cam list at start; may be given more than once.</source>
        <translation>Die Kamera NAME aus der Kameraliste beim Start öffnen; darf mehrfach angegeben werden.</translation>
    </message>
    <message>
        <source>Show the main window full screen (wall displays).</source>
        <translation>Das Hauptfenster im Vollbild zeigen (Wandbildschirme).</translation>
    </message>
    <message>
        <source>Start with View &gt; Wall: every open cam as large as the window allows. With --fullscreen the wall fills the screen (a kiosk; F11 or Esc returns to the normal window).</source>
        <translation>Mit Ansicht &gt; Wand starten: jede geöffnete Kamera so groß, wie das Fenster erlaubt. Mit --fullscreen füllt die Wand den Bildschirm (ein Kiosk; F11 oder Esc führt zum normalen Fenster zurück).</translation>
    </message>
    <message>
        <source>Log each change of a cam&apos;s state or last outcome to standard error (the log category tolvane.watch; QT_LOGGING_RULES can do the same).</source>
        <translation>Jede Änderung des Zustands oder des letzten Ergebnisses einer Kamera auf die Standardfehlerausgabe protokollieren (die Protokollkategorie tolvane.watch; QT_LOGGING_RULES kann dasselbe).</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>--home needs a folder name.</source>
        <translation>--home braucht einen Ordnernamen.</translation>
    </message>
    <message>
        <source>%1: watches public web cams, saves their new pictures and shows one cam large.

The program folder holds the cam list 00camlist.txt, the settings file %1.ini and the saved pictures (cam/). It is the folder given with --home, else $TOLVANE_HOME, else for an installed program $XDG_DATA_HOME/tolvane (~/.local/share/tolvane when XDG_DATA_HOME is not set), else the folder of the program itself.

A time-lapse video of a cam&apos;s saved pictures, without a window: tolvane --timelapse CAM --from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]; an existing FILE is replaced only with --overwrite.

Recording without a window, until SIGTERM or SIGINT: tolvane --record [--home DIR] [--open NAME]... [--verbose] saves the new pictures of the cams marked &quot;Record&quot; (or of those named) as AutoSave does; tolvane --record --help says more. tolvane --status [--home DIR] prints what the recorder does or last did</source>
        <translation>%1: beobachtet öffentliche Webcams, speichert ihre neuen Bilder und zeigt eine Kamera groß.

Der Programmordner enthält die Kameraliste 00camlist.txt, die Einstellungsdatei %1.ini und die gespeicherten Bilder (cam/). Es ist der mit --home angegebene Ordner, sonst $TOLVANE_HOME, sonst bei einem installierten Programm $XDG_DATA_HOME/tolvane (~/.local/share/tolvane, wenn XDG_DATA_HOME nicht gesetzt ist), sonst der Ordner des Programms selbst.

Ein Zeitraffervideo aus den gespeicherten Bildern einer Kamera, ohne Fenster: tolvane --timelapse KAMERA --from ISO --to ISO [--fps N] --out DATEI [--overwrite] [--home ORDNER]; eine vorhandene DATEI wird nur mit --overwrite ersetzt.

Aufnehmen ohne Fenster, bis SIGTERM oder SIGINT: tolvane --record [--home ORDNER] [--open NAME]... [--verbose] speichert die neuen Bilder der mit „Aufnehmen“ markierten (oder der genannten) Kameras wie das automatische Speichern; tolvane --record --help sagt mehr. tolvane --status [--home ORDNER] zeigt, was der Recorder tut oder zuletzt tat</translation>
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
    <name>Form1</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Cams</source>
        <translation>&amp;Kameras</translation>
    </message>
    <message>
        <source>Add a Cam</source>
        <translation>Kamera hinzufügen</translation>
    </message>
    <message>
        <source>Delete Selected Cam</source>
        <translation>Ausgewählte Kamera löschen</translation>
    </message>
    <message>
        <source>Edit Selected Cam</source>
        <translation>Ausgewählte Kamera bearbeiten</translation>
    </message>
    <message>
        <source>Start Selected Cam</source>
        <translation>Ausgewählte Kamera starten</translation>
    </message>
    <message>
        <source>Stop All Cams</source>
        <translation>Alle Kameras anhalten</translation>
    </message>
    <message>
        <source>Make Time-lapse…</source>
        <translation>Zeitraffer erstellen…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>View Help</source>
        <translation>Hilfe anzeigen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>About this software</source>
        <translation>Über dieses Programm</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Optionen…</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Wall</source>
        <translation>Wand</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Controls</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Remove Selected Cam</source>
        <translation>Ausgewählte Kamera entfernen</translation>
    </message>
    <message>
        <source>Start Cam</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Stop All</source>
        <translation>Alle anhalten</translation>
    </message>
    <message>
        <source>AutoSave New Pictures</source>
        <translation>Automatisch speichern</translation>
    </message>
    <message>
        <source>saved to /cam/ subdirectory of the program folder</source>
        <translation>gespeichert im Unterordner /cam/ des Programmordners</translation>
    </message>
    <message>
        <source>Webcam Listing</source>
        <translation>Webcam-Liste</translation>
    </message>
    <message>
        <source>Webcams</source>
        <translation>Webcams</translation>
    </message>
    <message>
        <source>The mask of %1 could not be kept: %2</source>
        <translation>Die Maske von %1 ließ sich nicht speichern: %2</translation>
    </message>
    <message>
        <source>Not in the cam list: %1</source>
        <translation>Nicht in der Kameraliste: %1</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Adresse kopieren</translation>
    </message>
    <message>
        <source>Hold Shift to copy the address with its password</source>
        <translation>Mit gedrückter Umschalttaste wird die Adresse samt Passwort kopiert</translation>
    </message>
    <message>
        <source>Open Address in Browser</source>
        <translation>Adresse im Browser öffnen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importieren…</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exportieren…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Show in Viewer</source>
        <translation>In der Anzeige zeigen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Fetch Now</source>
        <translation>Jetzt abrufen</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>%1 is no longer in the cam list</source>
        <translation>%1 ist nicht mehr in der Kameraliste</translation>
    </message>
    <message>
        <source>%1 has no address in the cam list file</source>
        <translation>%1 hat in der Kameralisten-Datei keine Adresse</translation>
    </message>
    <message>
        <source>%1 is a file on this computer, not a cam: a cam needs a web address (http, https, rtsp), so nothing was added</source>
        <translation>%1 ist eine Datei auf diesem Computer, keine Kamera: Eine Kamera braucht eine Webadresse (http, https, rtsp); es wurde nichts hinzugefügt</translation>
    </message>
    <message>
        <source>What was dropped is not a cam address (http, https, rtsp), so nothing was added</source>
        <translation>Was hier abgelegt wurde, ist keine Kameraadresse (http, https, rtsp); es wurde nichts hinzugefügt</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Earlier Picture</source>
        <translation>Früheres Bild</translation>
    </message>
    <message>
        <source>Later Picture</source>
        <translation>Späteres Bild</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>No cam is shown in the Viewer: click a cam&apos;s picture first</source>
        <translation>Die Anzeige zeigt keine Kamera: Klicken Sie zuerst auf das Bild einer Kamera</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>The cam list could not be loaded: %1</source>
        <translation>Die Kameraliste konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>The folder %1 could not be created (%2); new pictures cannot be saved.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden (%2); neue Bilder können nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Not reopened, no longer in the cam list: %1</source>
        <translation>Nicht wieder geöffnet, weil nicht mehr in der Kameraliste: %1</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>%1 :: Add a Cam</source>
        <translation>%1 :: Kamera hinzufügen</translation>
    </message>
    <message>
        <source>My Cam</source>
        <translation>Meine Kamera</translation>
    </message>
    <message>
        <source>create a unique name</source>
        <translation>Wählen Sie einen eindeutigen Namen</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>Create a unique name for the cam</source>
        <translation>Wählen Sie einen eindeutigen Namen für die Kamera</translation>
    </message>
    <message>
        <source>(Cams that are already open will need to be restarted)</source>
        <translation>(Bereits geöffnete Kameras müssen neu gestartet werden)</translation>
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
    <name>HealthCounts</name>
    <message>
        <source>no cam open</source>
        <translation>keine Kamera geöffnet</translation>
    </message>
</context>
<context>
    <name>HistoryBar</name>
    <message>
        <source>Previous saved picture</source>
        <translation>Voriges gespeichertes Bild</translation>
    </message>
    <message>
        <source>Next saved picture</source>
        <translation>Nächstes gespeichertes Bild</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Back to the live picture</source>
        <translation>Zurück zum Live-Bild</translation>
    </message>
    <message>
        <source>The cam&apos;s saved pictures; the right end is live</source>
        <translation>Die gespeicherten Bilder der Kamera; ganz rechts ist live</translation>
    </message>
    <message>
        <source>The saved picture %1 could not be read</source>
        <translation>Das gespeicherte Bild %1 konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Live (%1 new)</source>
        <translation>Live (%1 neu)</translation>
    </message>
    <message>
        <source>Live (no saved pictures)</source>
        <translation>Live (keine gespeicherten Bilder)</translation>
    </message>
    <message>
        <source>Live (%1 saved)</source>
        <translation>Live (%1 gespeichert)</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>&quot;%1&quot; is on or off.</source>
        <translation>„%1“ ist ein- oder ausgeschaltet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; takes a whole number from %2 to %3%4.</source>
        <translation>„%1“ nimmt eine ganze Zahl von %2 bis %3%4.</translation>
    </message>
    <message>
        <source>, or nothing (%1)</source>
        <translation> oder nichts (%1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is one of: %2.</source>
        <translation>„%1“ ist eines von: %2.</translation>
    </message>
</context>
<context>
    <name>RecordCommand</name>
    <message>
        <source>usage: tolvane --record [--home DIR] [--open NAME]... [--verbose]
Records without a window: saves the new pictures of the cams marked &quot;Record&quot; in their dialog
(or of those given with --open) exactly as AutoSave does, with their index rows and the
retention of the Options, until SIGTERM or SIGINT. Follows changes of the cam list file.
  --home DIR    the program folder (as for the window)
  --open NAME   record this cam of the cam list; may be given more than once
  --verbose     also the info lines of the other logs (index check, retention)
One line per change of a cam&apos;s health goes to standard error. Only one recorder may hold a
folder (the lock file tolvane-record.lock names it). Exit status: 0 stopped by a signal,
1 could not start, 2 wrong command line.</source>
        <translation>Aufruf: tolvane --record [--home DIR] [--open NAME]... [--verbose]
Nimmt ohne Fenster auf: speichert die neuen Bilder der Kameras, die in ihrem Dialog mit „Aufnehmen“
markiert sind (oder der mit --open genannten), genau wie das automatische Speichern, mit ihren
Verzeichniszeilen und der Aufbewahrung aus den Optionen, bis SIGTERM oder SIGINT. Folgt Änderungen
der Kameralisten-Datei.
  --home DIR    der Programmordner (wie für das Fenster)
  --open NAME   diese Kamera der Kameraliste aufnehmen; darf mehrfach angegeben werden
  --verbose     auch die Info-Zeilen der anderen Protokolle (Verzeichnisprüfung, Aufbewahrung)
Jede Änderung des Zustands einer Kamera ergibt eine Zeile auf der Standardfehlerausgabe. Nur ein
Aufnehmer darf einen Ordner halten (die Sperrdatei tolvane-record.lock nennt ihn). Rückgabewert:
0 durch ein Signal beendet, 1 konnte nicht starten, 2 falsche Befehlszeile.</translation>
    </message>
    <message>
        <source>%1 is not an option of --record</source>
        <translation>%1 ist keine Option von --record</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>tolvane: %1
%2</source>
        <translation>tolvane: %1
%2</translation>
    </message>
    <message>
        <source>tolvane: the program folder %1 does not exist and cannot be created</source>
        <translation>tolvane: den Programmordner %1 gibt es nicht, und er lässt sich nicht anlegen</translation>
    </message>
    <message>
        <source>tolvane: %1 is already being recorded by process %2 (see %3)</source>
        <translation>tolvane: %1 wird schon von Prozess %2 aufgenommen (siehe %3)</translation>
    </message>
    <message>
        <source>tolvane: %1 is already being recorded by another process that is just starting</source>
        <translation>tolvane: %1 wird schon von einem anderen Prozess aufgenommen, der gerade startet</translation>
    </message>
    <message>
        <source>tolvane: recording in %1 as process %2 (%3)</source>
        <translation>tolvane: Aufnahme in %1 als Prozess %2 (%3)</translation>
    </message>
    <message>
        <source>no cam is marked for recording yet</source>
        <translation>noch keine Kamera ist zum Aufnehmen markiert</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 Kameras</translation>
    </message>
    <message>
        <source>tolvane: stopped; every picture saved is whole and indexed</source>
        <translation>tolvane: beendet; jedes gespeicherte Bild ist vollständig und verzeichnet</translation>
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
    <name>SettingKeys</name>
    <message>
        <source>Reopen the cams that were open</source>
        <translation>Zuletzt geöffnete Kameras wieder öffnen</translation>
    </message>
    <message>
        <source>At start the cams that were open when the program ended come back in their panels, with the Viewer&apos;s cam, its zoom, the wall and the window&apos;s size and place as they were. --open, --wall and --fullscreen replace what they name.</source>
        <translation>Beim Start kommen die Kameras, die beim Beenden geöffnet waren, wieder in ihre Felder, mit der Kamera der Anzeige, ihrem Zoom, der Wand sowie Größe und Lage des Fensters wie zuvor. --open, --wall und --fullscreen ersetzen, was sie angeben.</translation>
    </message>
    <message>
        <source>Stale after (minutes without a new picture)</source>
        <translation>Veraltet nach (Minuten ohne neues Bild)</translation>
    </message>
    <message>
        <source>A cam whose pictures keep coming, but none of them new, is marked stale after this many minutes, or after ten of its refresh intervals when that is longer. Cams that send no Last-Modified time are never stale.</source>
        <translation>Eine Kamera, deren Bilder weiter kommen, aber keines davon neu, gilt nach so vielen Minuten als veraltet, oder nach zehn ihrer Aktualisierungsintervalle, wenn das länger ist. Kameras, die keine Last-Modified-Zeit senden, veralten nie.</translation>
    </message>
    <message>
        <source>Frozen after (minutes without a change in the picture)</source>
        <translation>Eingefroren nach (Minuten ohne Änderung im Bild)</translation>
    </message>
    <message>
        <source>A cam that keeps sending new pictures (a new Last-Modified or ETag, other bytes) while the picture itself stays the same, outside its mask, is marked frozen after this many minutes, or after ten of its refresh intervals when that is longer: a burnt-in clock that still ticks on a picture that no longer changes. 0: never.</source>
        <translation>Eine Kamera, die weiter neue Bilder sendet (neues Last-Modified oder ETag, andere Bytes), während das Bild selbst außerhalb seiner Maske gleich bleibt, gilt nach so vielen Minuten als eingefroren, oder nach zehn ihrer Aktualisierungsintervalle, wenn das länger ist: eine eingeblendete Uhr, die auf einem sonst stehenden Bild weiterläuft. 0: nie.</translation>
    </message>
    <message>
        <source>Keep saved pictures for N days</source>
        <translation>Gespeicherte Bilder N Tage behalten</translation>
    </message>
    <message>
        <source>Pictures this program saved and indexed are deleted once they are older than this many days (checked at start and every hour). Empty keeps them for ever.</source>
        <translation>Bilder, die dieses Programm gespeichert und verzeichnet hat, werden gelöscht, sobald sie älter als so viele Tage sind (geprüft beim Start und stündlich). Leer behält sie für immer.</translation>
    </message>
    <message>
        <source>forever</source>
        <translation>für immer</translation>
    </message>
    <message>
        <source>Save pictures in</source>
        <translation>Bilder speichern in</translation>
    </message>
    <message>
        <source>The folder new pictures (AutoSave and Save Image) are saved in; it is made when missing. Each folder has its own picture index, so the history shows the pictures of the folder chosen. Empty: the folder cam beside the program.</source>
        <translation>Der Ordner, in dem neue Bilder (automatisches Speichern und „Bild speichern“) abgelegt werden; fehlt er, wird er angelegt. Jeder Ordner hat sein eigenes Bildverzeichnis, daher zeigt der Verlauf die Bilder des gewählten Ordners. Leer: der Ordner cam neben dem Programm.</translation>
    </message>
    <message>
        <source>the folder cam beside the program</source>
        <translation>der Ordner cam neben dem Programm</translation>
    </message>
    <message>
        <source>Classic: HarbourCam9Dec2026155945.jpg</source>
        <translation>Klassisch: HafenCam9Dez2026155945.jpg</translation>
    </message>
    <message>
        <source>Sortable: Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg</source>
        <translation>Sortierbar: Hafen Cam/2026-12-09/Hafen Cam 2026-12-09 15.59.45.jpg</translation>
    </message>
    <message>
        <source>Saved pictures&apos; names</source>
        <translation>Namen gespeicherter Bilder</translation>
    </message>
    <message>
        <source>Classic: the cam&apos;s name, the date and the time in your formats, every picture in one folder. Sortable: a folder per cam and per day, names that sort by time, and two pictures of one second kept apart by &quot; (2)&quot;. Pictures saved under either are found by the history, the time-lapse and the retention.</source>
        <translation>Klassisch: Name der Kamera, Datum und Uhrzeit in Ihren Formaten, alle Bilder in einem Ordner. Sortierbar: ein Ordner je Kamera und Tag, Namen, die nach der Zeit sortieren, und zwei Bilder derselben Sekunde durch „ (2)“ auseinandergehalten. Bilder aus beiden Schemata finden Verlauf, Zeitraffer und Aufbewahrung.</translation>
    </message>
    <message>
        <source>Trusted certificate authorities (PEM file)</source>
        <translation>Vertrauenswürdige Zertifizierungsstellen (PEM-Datei)</translation>
    </message>
    <message>
        <source>https cams whose certificate comes from one of the authorities in this PEM file are trusted, as are those SSL_CERT_FILE and SSL_CERT_DIR name.</source>
        <translation>https-Kameras, deren Zertifikat von einer Stelle aus dieser PEM-Datei stammt, wird vertraut, ebenso denen, die SSL_CERT_FILE und SSL_CERT_DIR nennen.</translation>
    </message>
    <message>
        <source>only the system&apos;s</source>
        <translation>nur die des Systems</translation>
    </message>
    <message>
        <source>Let a download that is still arriving finish</source>
        <translation>Laufende Downloads zu Ende laden</translation>
    </message>
    <message>
        <source>When a cam&apos;s refresh interval ends while its picture is still arriving, the download goes on and the next one starts as soon as it ends. A download that brings no byte for 10 seconds is abandoned.</source>
        <translation>Endet das Aktualisierungsintervall einer Kamera, während ihr Bild noch ankommt, läuft der Download weiter und der nächste beginnt, sobald er fertig ist. Ein Download, der 10 Sekunden lang kein Byte bringt, wird abgebrochen.</translation>
    </message>
    <message>
        <source>&quot;{label}&quot; takes a host name or address, optionally followed by &quot;:port&quot; (1 to 65535), such as time.nist.gov or 192.0.2.1:13.</source>
        <translation>„{label}“ nimmt einen Rechnernamen oder eine Adresse, wahlweise gefolgt von „:port“ (1 bis 65535), etwa time.nist.gov oder 192.0.2.1:13.</translation>
    </message>
    <message>
        <source>Time server (daytime protocol)</source>
        <translation>Zeitserver (Daytime-Protokoll)</translation>
    </message>
    <message>
        <source>The server the GMT clock asks for the time, with the daytime protocol (port 13 unless &quot;host:port&quot; names another). Empty asks {default}.</source>
        <translation>Der Server, den die GMT-Uhr nach der Zeit fragt, über das Daytime-Protokoll (Port 13, sofern „host:port“ keinen anderen nennt). Leer fragt {default}.</translation>
    </message>
    <message>
        <source>Follow redirects</source>
        <translation>Weiterleitungen folgen</translation>
    </message>
    <message>
        <source>A cam that answers with a redirect (301, 302, 303, 307, 308) is asked again at the new address, up to 5 times. http may lead to https, never https to http. Off: a redirect shows the not-found picture.</source>
        <translation>Eine Kamera, die mit einer Weiterleitung antwortet (301, 302, 303, 307, 308), wird unter der neuen Adresse erneut gefragt, bis zu 5-mal. http darf zu https führen, nie https zu http. Aus: Eine Weiterleitung zeigt das Nicht-gefunden-Bild.</translation>
    </message>
    <message>
        <source>Ask whether the picture changed</source>
        <translation>Nachfragen, ob sich das Bild geändert hat</translation>
    </message>
    <message>
        <source>Each fetch sends the last picture&apos;s ETag and Last-Modified time; a cam that answers 304 (unchanged) sends no picture, and the one shown stays.</source>
        <translation>Jeder Abruf sendet ETag und Last-Modified-Zeit des letzten Bildes; eine Kamera, die mit 304 (unverändert) antwortet, sendet kein Bild, und das angezeigte bleibt.</translation>
    </message>
    <message>
        <source>The server&apos;s Last-Modified line</source>
        <translation>Last-Modified-Zeile des Servers</translation>
    </message>
    <message>
        <source>The picture&apos;s content</source>
        <translation>Inhalt des Bildes</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beides</translation>
    </message>
    <message>
        <source>A picture is new when it changed by</source>
        <translation>Woran ein neues Bild erkannt wird</translation>
    </message>
    <message>
        <source>The server&apos;s Last-Modified line: a new time stamp makes a new picture, whatever it shows. The picture&apos;s content: the picture itself changed (identical bytes never have); suits cams that send no Last-Modified, or a new one with every answer. Both: the server says so and the picture changed.</source>
        <translation>Die Last-Modified-Zeile des Servers: Ein neuer Zeitstempel ergibt ein neues Bild, was immer es zeigt. Der Inhalt des Bildes: Das Bild selbst hat sich geändert (gleiche Bytes nie); passt für Kameras, die kein Last-Modified senden oder bei jeder Antwort ein neues. Beides: Der Server sagt es, und das Bild hat sich geändert.</translation>
    </message>
    <message>
        <source>Content rule: a pixel changed by more than (of 255)</source>
        <translation>Inhaltsregel: ein Pixel geändert um mehr als (von 255)</translation>
    </message>
    <message>
        <source>Under the content rule, each picture is compared with the last new one as a small grey copy; a pixel of it has changed when its brightness differs by more than this many levels of 255.</source>
        <translation>Nach der Inhaltsregel wird jedes Bild als kleine Graustufenkopie mit dem letzten neuen verglichen; ein Pixel hat sich geändert, wenn seine Helligkeit um mehr als so viele Stufen von 255 abweicht.</translation>
    </message>
    <message>
        <source>Content rule: new when more than N per mille of it changed</source>
        <translation>Inhaltsregel: neu, wenn sich mehr als N Promille geändert haben</translation>
    </message>
    <message>
        <source>Under the content rule, a picture is new when more than this many thousandths of its pixels changed (5: half a percent).</source>
        <translation>Nach der Inhaltsregel ist ein Bild neu, wenn sich mehr als so viele Tausendstel seiner Pixel geändert haben (5: ein halbes Prozent).</translation>
    </message>
    <message>
        <source>At the bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>At the top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>Ausgeblendet</translation>
    </message>
    <message>
        <source>Wall: name and time band</source>
        <translation>Wand: Band mit Name und Zeit</translation>
    </message>
    <message>
        <source>Where each wall tile shows its cam&apos;s name and the time its picture last changed. At the top suits cams that print their own caption at the bottom of the picture; hidden leaves the whole picture free.</source>
        <translation>Wo jede Kachel der Wand den Namen ihrer Kamera und die Zeit der letzten Bildänderung zeigt. Oben passt für Kameras, die ihre eigene Beschriftung unten ins Bild drucken; ausgeblendet lässt das ganze Bild frei.</translation>
    </message>
    <message>
        <source>Desktop notifications when a cam goes down</source>
        <translation>Desktop-Benachrichtigung, wenn eine Kamera ausfällt</translation>
    </message>
    <message>
        <source>A cam that has been failing, frozen or stale for the time below is told in a desktop notification, and so is its return. Cams that change together share one notification.</source>
        <translation>Eine Kamera, die so lange wie unten angegeben fehlschlägt, eingefroren oder veraltet ist, wird per Desktop-Benachrichtigung gemeldet, ebenso ihre Rückkehr. Kameras, die sich gemeinsam ändern, teilen sich eine Benachrichtigung.</translation>
    </message>
    <message>
        <source>Alert after (seconds a cam is down)</source>
        <translation>Melden nach (Sekunden, die eine Kamera ausfällt)</translation>
    </message>
    <message>
        <source>A cam alerts once it has been failing, frozen or stale for this many seconds, added up while it comes and goes, and at most once in this time.</source>
        <translation>Eine Kamera meldet sich, sobald sie so viele Sekunden lang fehlschlägt, eingefroren oder veraltet ist, zusammengezählt, während sie kommt und geht, und höchstens einmal in dieser Zeit.</translation>
    </message>
    <message>
        <source>Alert command (program and arguments, no shell)</source>
        <translation>Befehl bei Meldung (Programm und Argumente, keine Shell)</translation>
    </message>
    <message>
        <source>Run on each alert, whether or not notifications are on, with TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE and TOLVANE_PICTURE (the last picture) in its environment. It is stopped after 10 seconds; its output goes to the log.</source>
        <translation>Läuft bei jeder Meldung, ob Benachrichtigungen an sind oder nicht, mit TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE und TOLVANE_PICTURE (das letzte Bild) in seiner Umgebung. Er wird nach 10 Sekunden beendet; seine Ausgabe geht ins Protokoll.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>Keep watching in the tray when the window is closed</source>
        <translation>Beim Schließen des Fensters im Infobereich weiter beobachten</translation>
    </message>
    <message>
        <source>Closing the window leaves the cams watched and alerting; the tray icon shows their health, brings the window back and ends the program (Exit). Without a tray on the desktop, closing still ends the program.</source>
        <translation>Das Schließen des Fensters lässt die Kameras weiter beobachten und melden; das Symbol im Infobereich zeigt ihren Zustand, holt das Fenster zurück und beendet das Programm (Beenden). Ohne Infobereich auf dem Desktop beendet das Schließen weiterhin das Programm.</translation>
    </message>
    <message>
        <source>The zoom takes 1 to 5, or fit.</source>
        <translation>Der Zoom nimmt 1 bis 5 oder fit.</translation>
    </message>
    <message>
        <source>Keep at most N gigabytes of saved pictures</source>
        <translation>Höchstens N Gigabyte gespeicherter Bilder behalten</translation>
    </message>
    <message>
        <source>Once the pictures this program saved and indexed take more than this many gigabytes, the oldest of them are deleted until they fit (checked at start and every hour). Empty sets no limit.</source>
        <translation>Sobald die Bilder, die dieses Programm gespeichert und verzeichnet hat, mehr als so viele Gigabyte belegen, werden die ältesten gelöscht, bis sie hineinpassen (geprüft beim Start und stündlich). Leer setzt keine Grenze.</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>keine Grenze</translation>
    </message>
    <message>
        <source>&quot;{label}&quot; takes always, two times such as 06:00-20:00, or daylight with a latitude and longitude in degrees, such as daylight 51.48 -0.01 (civil at the end for civil twilight).</source>
        <translation>„{label}“ nimmt always, zwei Uhrzeiten wie 06:00-20:00 oder daylight mit Breite und Länge in Grad, etwa daylight 51.48 -0.01 (civil am Ende für die bürgerliche Dämmerung).</translation>
    </message>
    <message>
        <source>Recorder&apos;s schedule</source>
        <translation>Zeitplan des Recorders</translation>
    </message>
    <message>
        <source>When tolvane --record records the cams that have no schedule of their own: always (empty), between two times such as 06:00-20:00, or in daylight at a place, such as daylight 51.48 -0.01, computed here from sunrise to sunset (add civil for civil twilight).</source>
        <translation>Wann tolvane --record die Kameras ohne eigenen Zeitplan aufnimmt: immer (leer), zwischen zwei Uhrzeiten wie 06:00-20:00 oder bei Tageslicht an einem Ort, etwa daylight 51.48 -0.01, hier von Sonnenaufgang bis Sonnenuntergang berechnet (civil anhängen für die bürgerliche Dämmerung).</translation>
    </message>
    <message>
        <source>always</source>
        <translation>immer</translation>
    </message>
    <message>
        <source>Show a stream cam live in the Viewer</source>
        <translation>Eine Stream-Kamera in der Anzeige live zeigen</translation>
    </message>
    <message>
        <source>The stream cam (rtsp://, rtsps:// or an HLS playlist) shown in the Viewer, or full-window, keeps its stream open and shows it as video, up to 25 frames a second. The thumbnails and the wall keep one still per refresh.</source>
        <translation>Die Stream-Kamera (rtsp://, rtsps:// oder eine HLS-Playlist), die die Anzeige (oder die Fensteransicht) zeigt, hält ihren Stream offen und zeigt ihn als Video, mit bis zu 25 Bildern pro Sekunde. Die Miniaturen und die Wand behalten ein Standbild pro Aktualisierung.</translation>
    </message>
</context>
<context>
    <name>SlotGrid</name>
    <message>
        <source>%1 %2 was saved but not added to the picture index: %3</source>
        <translation>%1 %2 wurde gespeichert, aber nicht ins Bildverzeichnis aufgenommen: %3</translation>
    </message>
    <message>
        <source>%1 new picture saved as %2</source>
        <translation>%1 neues Bild gespeichert als %2</translation>
    </message>
    <message>
        <source>%1 no picture to save</source>
        <translation>%1 kein Bild zum Speichern</translation>
    </message>
    <message>
        <source>%1 could not save %2: %3</source>
        <translation>%1 %2 konnte nicht gespeichert werden: %3</translation>
    </message>
    <message>
        <source>%1 saved as %2</source>
        <translation>%1 gespeichert als %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: its entry in the cam list file %2</source>
        <translation>%1 lässt sich nicht öffnen: Ihr Eintrag in der Kameralisten-Datei %2</translation>
    </message>
    <message>
        <source>Cannot open %1: it is not in the cam list file</source>
        <translation>%1 lässt sich nicht öffnen: Sie steht nicht in der Kameralisten-Datei</translation>
    </message>
    <message>
        <source>Cannot open %1: its refresh rate &quot;%2&quot; is not a number of seconds</source>
        <translation>%1 lässt sich nicht öffnen: Die Aktualisierung „%2“ ist keine Zahl von Sekunden</translation>
    </message>
    <message>
        <source>All 24 panels are in use: stop a cam first</source>
        <translation>Alle 24 Felder sind belegt: Halten Sie zuerst eine Kamera an</translation>
    </message>
    <message>
        <source>waiting for the download</source>
        <translation>wartet auf den Download</translation>
    </message>
    <message>
        <source>recorded by the recorder</source>
        <translation>vom Recorder aufgenommen</translation>
    </message>
</context>
<context>
    <name>StartupValues</name>
    <message>
        <source>%1 (error 0x%2)</source>
        <translation>%1 (Fehler 0x%2)</translation>
    </message>
    <message>
        <source>The setting &quot;autoSave&quot; could not be read: %1. AutoSave New Pictures starts switched off.</source>
        <translation>Die Einstellung „autoSave“ konnte nicht gelesen werden: %1. „Automatisch speichern“ startet ausgeschaltet.</translation>
    </message>
    <message>
        <source>The stored setting &quot;autoSave&quot; is &quot;%1&quot;, which is neither 0 nor 1. AutoSave New Pictures starts switched off.</source>
        <translation>Die gespeicherte Einstellung „autoSave“ ist „%1“, also weder 0 noch 1. „Automatisch speichern“ startet ausgeschaltet.</translation>
    </message>
    <message>
        <source>The setting &quot;showHelp&quot; could not be read: %1. The Help window opens as usual.</source>
        <translation>Die Einstellung „showHelp“ konnte nicht gelesen werden: %1. Das Hilfefenster öffnet sich wie gewohnt.</translation>
    </message>
</context>
<context>
    <name>StatusCommand</name>
    <message>
        <source>usage: tolvane --status [--home DIR]
Prints what the recorder (tolvane --record) of the program folder does or last did: for
each cam it records, its health, its last new picture and the pictures kept.</source>
        <translation>Aufruf: tolvane --status [--home ORDNER]
Zeigt, was der Recorder (tolvane --record) des Programmordners tut oder zuletzt tat: für
jede Kamera, die er aufnimmt, ihren Zustand, ihr letztes neues Bild und die behaltenen Bilder.</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
    <message>
        <source>recorder: running as process %1 since %2 (status of %3)</source>
        <translation>Recorder: läuft als Prozess %1 seit %2 (Stand von %3)</translation>
    </message>
    <message>
        <source>recorder: process %1 holds the folder and has not said anything yet; the last status, of process %2 at %3, follows</source>
        <translation>Recorder: Prozess %1 hält den Ordner und hat noch nichts gemeldet; es folgt der letzte Stand, von Prozess %2 um %3</translation>
    </message>
    <message>
        <source>recorder: not running; process %1 ended without stopping cleanly after %2 (its last status follows)</source>
        <translation>Recorder: läuft nicht; Prozess %1 endete nach %2, ohne sauber anzuhalten (sein letzter Stand folgt)</translation>
    </message>
    <message>
        <source>recorder: stopped at %1 (process %2, started %3)</source>
        <translation>Recorder: angehalten um %1 (Prozess %2, gestartet %3)</translation>
    </message>
    <message>
        <source>save folder: %1</source>
        <translation>Speicherordner: %1</translation>
    </message>
    <message>
        <source>no cam recorded</source>
        <translation>keine Kamera wird aufgenommen</translation>
    </message>
    <message>
        <source>health: %1</source>
        <translation>Zustand: %1</translation>
    </message>
    <message>
        <source>records: %1</source>
        <translation>nimmt auf: %1</translation>
    </message>
    <message>
        <source>last new picture: %1</source>
        <translation>letztes neues Bild: %1</translation>
    </message>
    <message>
        <source>last saved: %1</source>
        <translation>zuletzt gespeichert: %1</translation>
    </message>
    <message>
        <source>none yet</source>
        <translation>noch keines</translation>
    </message>
    <message>
        <source>pictures kept: %1</source>
        <translation>behaltene Bilder: %1</translation>
    </message>
    <message>
        <source>--home needs a value</source>
        <translation>--home braucht einen Wert</translation>
    </message>
    <message>
        <source>%1 is not an option of --status</source>
        <translation>%1 ist keine Option von --status</translation>
    </message>
</context>
<context>
    <name>Timelapse</name>
    <message>
        <source>1 picture</source>
        <translation>1 Bild</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 Bilder</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>the H.264 encoder &quot;%1&quot; is missing from this FFmpeg (libavcodec %2); Debian&apos;s libavcodec59 package brings libx264</source>
        <translation>dem FFmpeg hier (libavcodec %2) fehlt der H.264-Encoder „%1“; Debians Paket libavcodec59 bringt libx264 mit</translation>
    </message>
    <message>
        <source>cannot write %1: the folder %2 does not exist</source>
        <translation>%1 kann nicht geschrieben werden: Der Ordner %2 existiert nicht</translation>
    </message>
    <message>
        <source>cannot write %1: it is a folder</source>
        <translation>%1 kann nicht geschrieben werden: Es ist ein Ordner</translation>
    </message>
    <message>
        <source>the H.264 encoder &quot;%1&quot; cannot be used: %2</source>
        <translation>der H.264-Encoder „%1“ lässt sich nicht verwenden: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>out of memory for a %1 x %2 frame</source>
        <translation>zu wenig Speicher für ein Einzelbild von %1 x %2</translation>
    </message>
    <message>
        <source>a picture could not be converted for the video</source>
        <translation>ein Bild ließ sich nicht für das Video umwandeln</translation>
    </message>
    <message>
        <source>the encoder failed: %1</source>
        <translation>der Encoder ist gescheitert: %1</translation>
    </message>
    <message>
        <source>%1 already exists and was left as it was</source>
        <translation>%1 gibt es schon; die Datei blieb unverändert</translation>
    </message>
    <message>
        <source>there are no pictures to make a video of</source>
        <translation>es gibt keine Bilder für ein Video</translation>
    </message>
    <message>
        <source>%1 frames per second is not between 1 and 120</source>
        <translation>%1 Bilder pro Sekunde liegt nicht zwischen 1 und 120</translation>
    </message>
    <message>
        <source>FFmpeg has no MP4 writer</source>
        <translation>FFmpeg kann hier kein MP4 schreiben</translation>
    </message>
    <message>
        <source>cancelled; no file was written</source>
        <translation>abgebrochen; es wurde keine Datei geschrieben</translation>
    </message>
    <message>
        <source>the one picture could not be read</source>
        <translation>das eine Bild ließ sich nicht lesen</translation>
    </message>
    <message>
        <source>none of the %1 pictures could be read</source>
        <translation>keines der %1 Bilder ließ sich lesen</translation>
    </message>
    <message>
        <source>%1 written to %2 (%3 x %4, %5 frames per second)%6</source>
        <translation>%1 in %2 geschrieben (%3 x %4, %5 Bilder pro Sekunde)%6</translation>
    </message>
    <message>
        <source>; 1 unreadable file skipped</source>
        <translation>; 1 unlesbare Datei übersprungen</translation>
    </message>
    <message>
        <source>; %1 unreadable files skipped</source>
        <translation>; %1 unlesbare Dateien übersprungen</translation>
    </message>
</context>
<context>
    <name>TimelapseCommand</name>
    <message>
        <source>usage: tolvane --timelapse CAM --from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]
  ISO is a local date and time such as 2024-05-07T06:00 (an offset such as +02:00 may follow)</source>
        <translation>Aufruf: tolvane --timelapse KAMERA --from ISO --to ISO [--fps N] --out DATEI [--overwrite] [--home ORDNER]
  ISO ist ein lokales Datum mit Uhrzeit wie 2024-05-07T06:00 (ein Versatz wie +02:00 darf folgen)</translation>
    </message>
    <message>
        <source>%1 is not an option of --timelapse</source>
        <translation>%1 ist keine Option von --timelapse</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--fps takes a whole number from 1 to 120, not &quot;%1&quot;</source>
        <translation>--fps nimmt eine ganze Zahl von 1 bis 120, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 takes a date and time such as 2024-05-07T06:00, not &quot;%2&quot;</source>
        <translation>%1 nimmt ein Datum mit Uhrzeit wie 2024-05-07T06:00, nicht „%2“</translation>
    </message>
    <message>
        <source>--timelapse needs the cam&apos;s name</source>
        <translation>--timelapse braucht den Namen der Kamera</translation>
    </message>
    <message>
        <source>--from and --to are both needed</source>
        <translation>--from und --to werden beide gebraucht</translation>
    </message>
    <message>
        <source>--to is before --from</source>
        <translation>--to liegt vor --from</translation>
    </message>
    <message>
        <source>--out needs the video file to write</source>
        <translation>--out braucht die zu schreibende Videodatei</translation>
    </message>
    <message>
        <source>tolvane: %1
%2</source>
        <translation>tolvane: %1
%2</translation>
    </message>
    <message>
        <source>tolvane: the program folder %1 does not exist</source>
        <translation>tolvane: den Programmordner %1 gibt es nicht</translation>
    </message>
    <message>
        <source>tolvane: %1 already exists; give --overwrite to replace it</source>
        <translation>tolvane: %1 gibt es schon; mit --overwrite wird es ersetzt</translation>
    </message>
    <message>
        <source>tolvane: the cam list could not be read (%1); going by the picture index</source>
        <translation>tolvane: die Kameraliste konnte nicht gelesen werden (%1); es gilt das Bildverzeichnis</translation>
    </message>
    <message>
        <source>tolvane: no such cam: &quot;%1&quot; (cams: %2)</source>
        <translation>tolvane: keine solche Kamera: „%1“ (Kameras: %2)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>tolvane: no pictures of &quot;%1&quot; between %2 and %3</source>
        <translation>tolvane: keine Bilder von „%1“ zwischen %2 und %3</translation>
    </message>
    <message>
        <source>%1/%2, %3 left</source>
        <translation>%1/%2, noch %3</translation>
    </message>
</context>
<context>
    <name>ViewerPane</name>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>The whole picture in the Viewer (0)</source>
        <translation>Das ganze Bild in der Anzeige (0)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Bildschirmschoner</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Maske</translation>
    </message>
    <message>
        <source>Parts of the picture that do not count as a change (a clock, a logo): drag to add a rectangle, click one to remove it</source>
        <translation>Teile des Bildes, die nicht als Änderung zählen (eine Uhr, ein Logo): Ziehen fügt ein Rechteck hinzu, ein Klick auf eines entfernt es</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Refresh Rate:</source>
        <translation>Aktualisierung:</translation>
    </message>
    <message>
        <source>Last Changed:</source>
        <translation>Zuletzt geändert:</translation>
    </message>
    <message>
        <source>Last Refreshed:</source>
        <translation>Zuletzt aktualisiert:</translation>
    </message>
    <message>
        <source>Next Refresh:</source>
        <translation>Nächste Aktualisierung:</translation>
    </message>
    <message>
        <source>Current Time:</source>
        <translation>Aktuelle Zeit:</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Zustand:</translation>
    </message>
</context>
<context>
    <name>ViewerSlot</name>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
</context>
<context>
    <name>WallView</name>
    <message>
        <source>No cams are open. Press Esc for the cam list.</source>
        <translation>Keine Kamera ist geöffnet. Esc führt zur Kameraliste.</translation>
    </message>
</context>
<context>
    <name>WatchedCam</name>
    <message>
        <source>Downloading %1 [%2]</source>
        <translation>Lade %1 herunter [%2]</translation>
    </message>
    <message>
        <source>%1 could not save the new picture of %2 as %3: %4</source>
        <translation>%1 das neue Bild von %2 konnte nicht als %3 gespeichert werden: %4</translation>
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
    <name>frmImport</name>
    <message>
        <source>%1 :: Import Cams</source>
        <translation>%1 :: Kameras importieren</translation>
    </message>
    <message>
        <source>From %1 (%2): %3, %4.</source>
        <translation>Aus %1 (%2): %3, %4.</translation>
    </message>
    <message>
        <source>a CSV file</source>
        <translation>eine CSV-Datei</translation>
    </message>
    <message>
        <source>a list of addresses</source>
        <translation>eine Liste von Adressen</translation>
    </message>
    <message>
        <source>1 cam will be added</source>
        <translation>1 Kamera wird hinzugefügt</translation>
    </message>
    <message>
        <source>%1 cams will be added</source>
        <translation>%1 Kameras werden hinzugefügt</translation>
    </message>
    <message>
        <source>1 row is skipped</source>
        <translation>1 Zeile wird übersprungen</translation>
    </message>
    <message>
        <source>%1 rows are skipped</source>
        <translation>%1 Zeilen werden übersprungen</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Was geschieht</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>skipped: %1</source>
        <translation>übersprungen: %1</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Durchsuchen…</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>no cam named &quot;%1&quot; in the cam list</source>
        <translation>keine Kamera namens „%1“ in der Kameraliste</translation>
    </message>
    <message>
        <source>%1 (not opened: %2)</source>
        <translation>%1 (nicht geöffnet: %2)</translation>
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
<context>
    <name>main</name>
    <message>
        <source>the demo cams could not start: %1</source>
        <translation>die Demo-Kameras konnten nicht starten: %1</translation>
    </message>
    <message>
        <source>the demo clock server could not start: %1</source>
        <translation>der Demo-Zeitserver konnte nicht starten: %1</translation>
    </message>
    <message>
        <source>no demo folder could be made in %1</source>
        <translation>in %1 ließ sich kein Demo-Ordner anlegen</translation>
    </message>
    <message>
        <source>%1 demo: cams on 127.0.0.1:%2, clock on 127.0.0.1:%3, folder %4</source>
        <translation>%1-Demo: Kameras auf 127.0.0.1:%2, Uhr auf 127.0.0.1:%3, Ordner %4</translation>
    </message>
    <message>
        <source>%1 demo: %2 saved pictures kept in %3</source>
        <translation>%1-Demo: %2 gespeicherte Bilder bleiben in %3</translation>
    </message>
    <message>
        <source>the demo folder %1 could not be removed</source>
        <translation>der Demo-Ordner %1 ließ sich nicht entfernen</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (siehe --help)</translation>
    </message>
    <message>
        <source>the program folder %1 does not exist and cannot be created</source>
        <translation>den Programmordner %1 gibt es nicht, und er lässt sich nicht anlegen</translation>
    </message>
    <message>
        <source>%1 demo: 1 saved picture kept in %2</source>
        <translation>%1-Demo: 1 gespeichertes Bild bleibt in %2</translation>
    </message>
</context>
</TS>
