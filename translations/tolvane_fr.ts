<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AlertTray</name>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>CamAlerts</name>
    <message>
        <source>second</source>
        <translation>seconde</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>minute</source>
        <translation>minute</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>hour</source>
        <translation>heure</translation>
    </message>
    <message>
        <source>hours</source>
        <translation>heures</translation>
    </message>
    <message>
        <source>1 cam</source>
        <translation>1 caméra</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 caméras</translation>
    </message>
    <message>
        <source>%1 is back</source>
        <translation>%1 est de retour</translation>
    </message>
    <message>
        <source>ok again after %1 down (%2)</source>
        <translation>de nouveau ok après %1 de panne (%2)</translation>
    </message>
    <message>
        <source>%1 is %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>since %1</source>
        <translation>depuis %1</translation>
    </message>
    <message>
        <source>down on and off since %1</source>
        <translation>en panne par intermittence depuis %1</translation>
    </message>
    <message>
        <source>%1 are back</source>
        <translation>%1 sont de retour</translation>
    </message>
    <message>
        <source>%1: %2 (since %3)</source>
        <translation>%1 : %2 (depuis %3)</translation>
    </message>
    <message>
        <source>%1 down: %2</source>
        <translation>%1 en panne : %2</translation>
    </message>
    <message>
        <source>Back: %1</source>
        <translation>De retour : %1</translation>
    </message>
</context>
<context>
    <name>CamCommands</name>
    <message>
        <source>Cam lists (*.csv *.txt);;All files (*)</source>
        <translation>Listes de caméras (*.csv *.txt);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Export Cams</source>
        <translation>Exporter les caméras</translation>
    </message>
    <message>
        <source>Import Cams</source>
        <translation>Importer des caméras</translation>
    </message>
    <message>
        <source>1 cam</source>
        <translation>1 caméra</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 caméras</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 ligne</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 lignes</translation>
    </message>
    <message>
        <source>The cam was renamed, but its own settings stay under &quot;%1&quot;</source>
        <translation>La caméra a été renommée, mais ses propres réglages restent sous « %1 »</translation>
    </message>
    <message>
        <source>The cam &quot;%1&quot; was not found in the cam list file, so nothing was deleted.</source>
        <translation>La caméra « %1 » est introuvable dans le fichier de la liste des caméras ; rien n’a été supprimé.</translation>
    </message>
    <message>
        <source>Confirm Delete</source>
        <translation>Confirmer la suppression</translation>
    </message>
    <message>
        <source>Are you sure you want to delete %1?</source>
        <translation>Voulez-vous vraiment supprimer %1 ?</translation>
    </message>
    <message>
        <source>The cam was deleted, but its own settings could not be removed</source>
        <translation>La caméra a été supprimée, mais ses propres réglages n’ont pas pu être effacés</translation>
    </message>
    <message>
        <source>The cam list file has changed since it was listed, so &quot;%1&quot; was not moved. The list now shows the file as it is.</source>
        <translation>Le fichier de la liste des caméras a changé depuis son affichage ; « %1 » n’a donc pas été déplacée. La liste montre maintenant le fichier tel qu’il est.</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>Imported from %1: %2 added, %3 skipped</source>
        <translation>Importé de %1 : %2 ajoutée(s), %3 ignorée(s)</translation>
    </message>
    <message>
        <source>Exported %1 to %2</source>
        <translation>%1 exportée(s) vers %2</translation>
    </message>
    <message>
        <source>; not exported, their entries in the cam list file are not whole: %1</source>
        <translation>; non exportées, car leurs entrées dans le fichier de la liste des caméras sont incomplètes : %1</translation>
    </message>
</context>
<context>
    <name>CamDialog</name>
    <message>
        <source>:: error</source>
        <translation>:: erreur</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL :</translation>
    </message>
    <message>
        <source>enter the exact path to the image (found by right clicking an image in your browser and selecting &quot;properties&quot;</source>
        <translation>saisissez l’adresse exacte de l’image (clic droit sur l’image dans votre navigateur, puis « Propriétés » ou « Copier l’adresse de l’image »)</translation>
    </message>
    <message>
        <source>Refresh:</source>
        <translation>Actualisation :</translation>
    </message>
    <message>
        <source>Enter the time in seconds</source>
        <translation>Saisissez la durée en secondes</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>(digits only, 1 to 999)</source>
        <translation>(chiffres seulement, de 1 à 999)</translation>
    </message>
    <message>
        <source>New picture:</source>
        <translation>Nouvelle image :</translation>
    </message>
    <message>
        <source>Use the Options&apos; rule</source>
        <translation>Utiliser la règle des options</translation>
    </message>
    <message>
        <source>What makes a picture of this cam new (saved by AutoSave, kept in the history): the rule in Options, or one for this cam alone</source>
        <translation>Ce qui rend nouvelle une image de cette caméra (enregistrée automatiquement, gardée dans l’historique) : la règle des options, ou une règle propre à cette caméra</translation>
    </message>
    <message>
        <source>Save this cam&apos;s new pictures</source>
        <translation>Enregistrer les nouvelles images de cette caméra</translation>
    </message>
    <message>
        <source>While AutoSave New Pictures is ticked, this cam&apos;s new pictures are saved; untick it to pass this cam over.</source>
        <translation>Tant que « Enregistrement auto » est coché, les nouvelles images de cette caméra sont enregistrées ; décochez cette case pour ignorer cette caméra.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>you must enter all information</source>
        <translation>vous devez remplir tous les champs</translation>
    </message>
    <message>
        <source>the refresh time must be a whole number of seconds from 1 to 999</source>
        <translation>l’actualisation doit être un nombre entier de secondes entre 1 et 999</translation>
    </message>
    <message>
        <source>a cam named &quot;%1&quot; is already in the list: choose another name</source>
        <translation>une caméra nommée « %1 » est déjà dans la liste : choisissez un autre nom</translation>
    </message>
    <message>
        <source>The cam was saved, but &quot;%1&quot; could not be stored: %2</source>
        <translation>La caméra a été enregistrée, mais « %1 » n’a pas pu être conservé : %2</translation>
    </message>
    <message>
        <source>the cam was saved, but its rule for new pictures could not be kept: %1</source>
        <translation>la caméra a été enregistrée, mais sa règle pour les nouvelles images n’a pas pu être conservée : %1</translation>
    </message>
    <message>
        <source>Record:</source>
        <translation>Enregistrer :</translation>
    </message>
    <message>
        <source>Not by the recorder</source>
        <translation>Pas par l&apos;enregistreur</translation>
    </message>
    <message>
        <source>tolvane --record saves the new pictures of the cams marked here without a window (as a service); while it runs, AutoSave leaves these cams to it.</source>
        <translation>tolvane --record enregistre les nouvelles images des caméras marquées ici sans fenêtre (en service) ; tant qu&apos;il tourne, l&apos;enregistrement automatique lui laisse ces caméras.</translation>
    </message>
    <message>
        <source>By the recorder (tolvane --record), on the schedule for all</source>
        <translation>Par l’enregistreur (tolvane --record), selon l’horaire commun</translation>
    </message>
    <message>
        <source>By the recorder, between two times</source>
        <translation>Par l’enregistreur, entre deux heures</translation>
    </message>
    <message>
        <source>By the recorder, in daylight</source>
        <translation>Par l’enregistreur, de jour</translation>
    </message>
    <message>
        <source>When:</source>
        <translation>Quand :</translation>
    </message>
    <message>
        <source>06:00-20:00 (local time)</source>
        <translation>06:00-20:00 (heure locale)</translation>
    </message>
    <message>
        <source>latitude longitude, such as 51.48 -0.01; civil may follow</source>
        <translation>latitude longitude, comme 51.48 -0.01 ; civil peut suivre</translation>
    </message>
    <message>
        <source>&quot;When:&quot; takes the cam&apos;s latitude and longitude in degrees (north and east; south and west below zero), such as 51.48 -0.01, and civil after them for civil twilight</source>
        <translation>« Quand : » accepte la latitude et la longitude de la caméra en degrés (nord et est ; sud et ouest en négatif), comme 51.48 -0.01, suivies de civil pour le crépuscule civil</translation>
    </message>
    <message>
        <source>&quot;When:&quot; takes two times of day, such as 06:00-20:00</source>
        <translation>« Quand : » accepte deux heures de la journée, comme 06:00-20:00</translation>
    </message>
    <message>
        <source>Stream over:</source>
        <translation>Flux par :</translation>
    </message>
    <message>
        <source>TCP, inside the RTSP connection</source>
        <translation>TCP, dans la connexion RTSP</translation>
    </message>
    <message>
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>How an rtsp:// or rtsps:// cam sends its video: TCP passes firewalls and loses nothing; choose UDP for a cam that offers nothing else.</source>
        <translation>Comment une caméra rtsp:// ou rtsps:// envoie sa vidéo : TCP passe les pare-feu et ne perd rien ; choisissez UDP pour une caméra qui n’offre rien d’autre.</translation>
    </message>
</context>
<context>
    <name>CamHealth</name>
    <message>
        <source>No Last-Modified on any answer, so no picture counts as new: the picture&apos;s content decides better (Options)</source>
        <translation>Aucune réponse ne porte de Last-Modified, donc aucune image ne compte comme nouvelle : le contenu de l’image en décide mieux (Options)</translation>
    </message>
    <message>
        <source>Last-Modified changes on every answer but the picture does not: the picture&apos;s content decides better (Options)</source>
        <translation>Last-Modified change à chaque réponse mais pas l’image : le contenu de l’image en décide mieux (Options)</translation>
    </message>
    <message>
        <source>starting</source>
        <translation>démarrage</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>stale</source>
        <translation>périmée</translation>
    </message>
    <message>
        <source>frozen</source>
        <translation>figée</translation>
    </message>
    <message>
        <source>failing</source>
        <translation>en échec</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>au repos</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>connexion</translation>
    </message>
    <message>
        <source>waiting for the answer</source>
        <translation>attend la réponse</translation>
    </message>
    <message>
        <source>receiving</source>
        <translation>réception</translation>
    </message>
    <message>
        <source>letting a slow download finish past the refresh interval</source>
        <translation>laisse un téléchargement lent finir au-delà de l’intervalle d’actualisation</translation>
    </message>
    <message>
        <source>done</source>
        <translation>terminé</translation>
    </message>
    <message>
        <source>no new picture since %1</source>
        <translation>aucune nouvelle image depuis %1</translation>
    </message>
    <message>
        <source>the picture outside the mask has not changed since %1, though the cam keeps sending new ones</source>
        <translation>l’image hors du masque n’a pas changé depuis %1, bien que la caméra en envoie toujours de nouvelles</translation>
    </message>
    <message>
        <source>the picture has not changed since %1, though the cam keeps sending new ones</source>
        <translation>l’image n’a pas changé depuis %1, bien que la caméra en envoie toujours de nouvelles</translation>
    </message>
    <message>
        <source>Last fetch: %1</source>
        <translation>Dernière récupération : %1</translation>
    </message>
    <message>
        <source>Now: %1</source>
        <translation>En cours : %1</translation>
    </message>
    <message>
        <source>none yet</source>
        <translation>aucune pour l’instant</translation>
    </message>
    <message>
        <source>Last picture: %1</source>
        <translation>Dernière image : %1</translation>
    </message>
    <message>
        <source>Last new picture: unknown (the cam sends no Last-Modified)</source>
        <translation>Dernière nouvelle image : inconnue (la caméra n’envoie pas de Last-Modified)</translation>
    </message>
    <message>
        <source>Last new picture: %1</source>
        <translation>Dernière nouvelle image : %1</translation>
    </message>
    <message>
        <source>Failures in a row: %1</source>
        <translation>Échecs d’affilée : %1</translation>
    </message>
    <message>
        <source>malformed chunked body</source>
        <translation>corps chunked mal formé</translation>
    </message>
    <message>
        <source>the server closed the connection during the handshake</source>
        <translation>le serveur a fermé la connexion pendant la négociation</translation>
    </message>
    <message>
        <source>byte/s</source>
        <translation>octet/s</translation>
    </message>
    <message>
        <source>bytes/s</source>
        <translation>octets/s</translation>
    </message>
    <message>
        <source>%1 KB/s</source>
        <translation>%1 Ko/s</translation>
    </message>
    <message>
        <source>no status line</source>
        <translation>pas de ligne d’état</translation>
    </message>
    <message>
        <source>no content type</source>
        <translation>pas de type de contenu</translation>
    </message>
    <message>
        <source>no byte came for %1 (refresh interval %2)</source>
        <translation>aucun octet pendant %1 (intervalle d’actualisation %2)</translation>
    </message>
    <message>
        <source>abandoned at %1% after %2: %3</source>
        <translation>abandonné à %1 % après %2 : %3</translation>
    </message>
    <message>
        <source>abandoned after %1 with %2 received: %3</source>
        <translation>abandonné après %1 avec %2 reçus : %3</translation>
    </message>
    <message>
        <source>abandoned after %1: the header was still incomplete after %2 (refresh interval %3)</source>
        <translation>abandonné après %1 : l’en-tête était encore incomplet après %2 (intervalle d’actualisation %3)</translation>
    </message>
    <message>
        <source>abandoned after %1: the header came, but no picture bytes within the refresh interval of %2</source>
        <translation>abandonné après %1 : l’en-tête est arrivé, mais aucun octet d’image dans l’intervalle d’actualisation de %2</translation>
    </message>
    <message>
        <source>abandoned after %1 with %2 received, %3; the server announced no length (refresh interval %4)</source>
        <translation>abandonné après %1 avec %2 reçus, %3 ; le serveur n’a annoncé aucune longueur (intervalle d’actualisation %4)</translation>
    </message>
    <message>
        <source>the picture needs about %1, longer than the refresh interval of %2</source>
        <translation>l’image demande environ %1, plus que l’intervalle d’actualisation de %2</translation>
    </message>
    <message>
        <source>the picture needs about %1, and the refresh interval is %2</source>
        <translation>l’image demande environ %1, et l’intervalle d’actualisation est de %2</translation>
    </message>
    <message>
        <source>abandoned at %1% after %2, %3: %4</source>
        <translation>abandonné à %1 % après %2, %3 : %4</translation>
    </message>
    <message>
        <source>TLS failure: %1</source>
        <translation>échec TLS : %1</translation>
    </message>
    <message>
        <source>byte</source>
        <translation>octet</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>octets</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>certificate not trusted: self-signed</source>
        <translation>certificat non reconnu : auto-signé</translation>
    </message>
    <message>
        <source>certificate not trusted: self-signed authority in its chain</source>
        <translation>certificat non reconnu : autorité auto-signée dans sa chaîne</translation>
    </message>
    <message>
        <source>certificate not trusted: unknown authority</source>
        <translation>certificat non reconnu : autorité inconnue</translation>
    </message>
    <message>
        <source>certificate not trusted: unknown authority %1</source>
        <translation>certificat non reconnu : autorité inconnue %1</translation>
    </message>
    <message>
        <source>certificate name mismatch</source>
        <translation>le nom ne correspond pas au certificat</translation>
    </message>
    <message>
        <source>certificate name mismatch: it is for %1</source>
        <translation>le nom ne correspond pas au certificat : il est pour %1</translation>
    </message>
    <message>
        <source>certificate expired</source>
        <translation>certificat expiré</translation>
    </message>
    <message>
        <source>certificate expired on %1</source>
        <translation>certificat expiré le %1</translation>
    </message>
    <message>
        <source>certificate not yet valid</source>
        <translation>certificat pas encore valide</translation>
    </message>
    <message>
        <source>certificate not valid before %1</source>
        <translation>certificat non valide avant le %1</translation>
    </message>
    <message>
        <source>certificate revoked</source>
        <translation>certificat révoqué</translation>
    </message>
    <message>
        <source>certificate problem: %1</source>
        <translation>problème de certificat : %1</translation>
    </message>
    <message>
        <source>despite %1</source>
        <translation>malgré %1</translation>
    </message>
    <message>
        <source>after %1, longer than the refresh interval of %2</source>
        <translation>après %1, plus que l’intervalle d’actualisation de %2</translation>
    </message>
    <message>
        <source>picture shown</source>
        <translation>image affichée</translation>
    </message>
    <message>
        <source>picture shown: %1</source>
        <translation>image affichée : %1</translation>
    </message>
    <message>
        <source>header longer than %1: abandoned</source>
        <translation>en-tête plus long que %1 : abandonné</translation>
    </message>
    <message>
        <source>answer larger than %1: abandoned</source>
        <translation>réponse plus grande que %1 : abandonnée</translation>
    </message>
    <message>
        <source>picture refused as too large: %1x%2 pixels</source>
        <translation>image refusée car trop grande : %1x%2 pixels</translation>
    </message>
    <message>
        <source>picture refused as too large</source>
        <translation>image refusée car trop grande</translation>
    </message>
    <message>
        <source>redirect loop: HTTP %1 back to %2</source>
        <translation>boucle de redirection : HTTP %1 retour vers %2</translation>
    </message>
    <message>
        <source>more than %1 redirects: HTTP %2 to %3 not followed</source>
        <translation>plus de %1 redirections : HTTP %2 vers %3 non suivie</translation>
    </message>
    <message>
        <source>HTTP %1 with control characters in its Location, not followed</source>
        <translation>HTTP %1 avec des caractères de contrôle dans son Location, non suivie</translation>
    </message>
    <message>
        <source>HTTP %1 to %2, which cannot be fetched</source>
        <translation>HTTP %1 vers %2, qui ne peut pas être récupérée</translation>
    </message>
    <message>
        <source>no fetch has ended yet</source>
        <translation>aucune récupération terminée pour l’instant</translation>
    </message>
    <message>
        <source>HTTP %1 to %2, not followed</source>
        <translation>HTTP %1 vers %2, non suivie</translation>
    </message>
    <message>
        <source>empty answer: the server closed without sending anything</source>
        <translation>réponse vide : le serveur a fermé sans rien envoyer</translation>
    </message>
    <message>
        <source>the answer ended inside its header, after %1</source>
        <translation>la réponse s’est arrêtée dans son en-tête, après %1</translation>
    </message>
    <message>
        <source>the body is not a picture</source>
        <translation>le corps n’est pas une image</translation>
    </message>
    <message>
        <source>cut off: %1 of %2 received</source>
        <translation>coupée : %1 sur %2 reçus</translation>
    </message>
    <message>
        <source>cut off: the JPEG stops before its end, after %1</source>
        <translation>coupée : le JPEG s’arrête avant sa fin, après %1</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>connexion refusée</translation>
    </message>
    <message>
        <source>host not found: %1</source>
        <translation>hôte introuvable : %1</translation>
    </message>
    <message>
        <source>connection reset by the server after %1</source>
        <translation>connexion réinitialisée par le serveur après %1</translation>
    </message>
    <message>
        <source>connection failed: %1</source>
        <translation>échec de la connexion : %1</translation>
    </message>
    <message>
        <source>%1 within the refresh interval of %2</source>
        <translation>%1 dans l’intervalle d’actualisation de %2</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>pas de réponse</translation>
    </message>
    <message>
        <source>no connection</source>
        <translation>pas de connexion</translation>
    </message>
    <message>
        <source>the address cannot be split into host and path: %1</source>
        <translation>l’adresse ne se découpe pas en hôte et chemin : %1</translation>
    </message>
    <message>
        <source>sign-in refused</source>
        <translation>connexion à la caméra refusée</translation>
    </message>
    <message>
        <source>stream without a picture</source>
        <translation>flux sans image</translation>
    </message>
    <message>
        <source>unchanged (%1)</source>
        <translation>inchangée (%1)</translation>
    </message>
    <message>
        <source>unsafe redirect: HTTP %1 from https to %2</source>
        <translation>redirection non sûre : HTTP %1 de https vers %2</translation>
    </message>
    <message>
        <source>; redirected: %1</source>
        <translation> ; redirigée : %1</translation>
    </message>
    <message>
        <source>refresh rate &quot;%1&quot; is not a number of seconds; it stays at %2</source>
        <translation>l’actualisation « %1 » n’est pas un nombre de secondes ; elle reste à %2</translation>
    </message>
    <message>
        <source>the password crossed the network unencrypted (Basic sign-in over http)</source>
        <translation>le mot de passe a traversé le réseau en clair (authentification Basic sur http)</translation>
    </message>
    <message>
        <source>AutoSave failing since %1, %2 lost: %3</source>
        <translation>enregistrement automatique en échec depuis %1, %2 perdue(s) : %3</translation>
    </message>
    <message>
        <source>picture</source>
        <translation>image</translation>
    </message>
    <message>
        <source>pictures</source>
        <translation>images</translation>
    </message>
    <message>
        <source>AutoSave failing for %1</source>
        <translation>Enregistrement automatique en échec pour %1</translation>
    </message>
    <message>
        <source>cam</source>
        <translation>caméra</translation>
    </message>
    <message>
        <source>cams</source>
        <translation>caméras</translation>
    </message>
    <message>
        <source>waiting for a keyframe</source>
        <translation>attente d’une image clé</translation>
    </message>
    <message>
        <source>RTSP sign-in refused (401)</source>
        <translation>connexion RTSP refusée (401)</translation>
    </message>
    <message>
        <source>no answer from the stream within %1</source>
        <translation>pas de réponse du flux en %1</translation>
    </message>
    <message>
        <source>no keyframe within %1</source>
        <translation>pas d’image clé en %1</translation>
    </message>
    <message>
        <source>codec not supported: %1</source>
        <translation>codec non pris en charge : %1</translation>
    </message>
    <message>
        <source>picture too large: %1 × %2</source>
        <translation>image trop grande : %1 × %2</translation>
    </message>
    <message>
        <source>stream failed: %1</source>
        <translation>échec du flux : %1</translation>
    </message>
    <message>
        <source>decoding the keyframe</source>
        <translation>décodage de l’image clé</translation>
    </message>
    <message>
        <source>keyframe decoded</source>
        <translation>image clé décodée</translation>
    </message>
    <message>
        <source>the stream holds no video</source>
        <translation>le flux ne contient pas de vidéo</translation>
    </message>
    <message>
        <source>the stream ended in the middle of a keyframe</source>
        <translation>le flux s’est arrêté au milieu d’une image clé</translation>
    </message>
    <message>
        <source>the stream ended before a keyframe</source>
        <translation>le flux s’est arrêté avant une image clé</translation>
    </message>
    <message>
        <source>the stream ended before a keyframe: %1</source>
        <translation>le flux s’est arrêté avant une image clé : %1</translation>
    </message>
    <message>
        <source>no keyframe in the first %1</source>
        <translation>pas d’image clé dans les premiers %1</translation>
    </message>
    <message>
        <source>fetching the newest segment</source>
        <translation>récupération du segment le plus récent</translation>
    </message>
    <message>
        <source>fetching the playlist</source>
        <translation>récupération de la playlist</translation>
    </message>
    <message>
        <source>HLS segment larger than 64 MiB</source>
        <translation>segment HLS de plus de 64 Mio</translation>
    </message>
    <message>
        <source>HLS playlist larger than 1 MiB</source>
        <translation>playlist HLS de plus de 1 Mio</translation>
    </message>
    <message>
        <source>not an HLS playlist</source>
        <translation>pas une playlist HLS</translation>
    </message>
    <message>
        <source>HLS playlist with more than 10000 entries</source>
        <translation>playlist HLS de plus de 10000 entrées</translation>
    </message>
    <message>
        <source>HLS playlist without segments</source>
        <translation>playlist HLS sans segments</translation>
    </message>
    <message>
        <source>HLS playlist without video</source>
        <translation>playlist HLS sans vidéo</translation>
    </message>
    <message>
        <source>HLS playlist loop</source>
        <translation>boucle de playlists HLS</translation>
    </message>
    <message>
        <source>the HLS segment holds no whole keyframe</source>
        <translation>le segment HLS ne contient aucune image clé entière</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>picture taken from the live stream</source>
        <translation>image prise du flux en direct</translation>
    </message>
    <message>
        <source>the HLS stream ended</source>
        <translation>le flux HLS est terminé</translation>
    </message>
    <message>
        <source>the HLS playlist stopped growing</source>
        <translation>la playlist HLS ne s’allonge plus</translation>
    </message>
    <message>
        <source>HLS playlist names an address that cannot be fetched over http or https</source>
        <translation>la playlist HLS nomme une adresse qui ne peut pas être récupérée en http ou https</translation>
    </message>
    <message>
        <source>HLS playlist with a malformed EXT-X-MAP or EXT-X-BYTERANGE tag</source>
        <translation>playlist HLS avec une balise EXT-X-MAP ou EXT-X-BYTERANGE mal formée</translation>
    </message>
    <message>
        <source>fetching the segment&apos;s init section</source>
        <translation>récupération de la section d&apos;initialisation du segment</translation>
    </message>
    <message>
        <source>HLS init section larger than 1 MiB</source>
        <translation>section d&apos;initialisation HLS de plus de 1 Mio</translation>
    </message>
    <message>
        <source>the HLS server&apos;s answer does not hold the byte range asked for</source>
        <translation>la réponse du serveur HLS ne contient pas la plage d&apos;octets demandée</translation>
    </message>
    <message>
        <source>HLS stream is encrypted (EXT-X-KEY): not supported</source>
        <translation>flux HLS chiffré (EXT-X-KEY) : non pris en charge</translation>
    </message>
</context>
<context>
    <name>CamImport</name>
    <message>
        <source>a field holds a line break</source>
        <translation>un champ contient un saut de ligne</translation>
    </message>
    <message>
        <source>text follows a quoted field</source>
        <translation>du texte suit un champ entre guillemets</translation>
    </message>
    <message>
        <source>a quote is never closed</source>
        <translation>un guillemet n’est jamais refermé</translation>
    </message>
    <message>
        <source>it has no name</source>
        <translation>elle n’a pas de nom</translation>
    </message>
    <message>
        <source>a name may not hold &quot;[name]&quot;</source>
        <translation>un nom ne peut pas contenir « [name] »</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a cam address (http, https, rtsp or rtsps)</source>
        <translation>« %1 » n’est pas une adresse de caméra (http, https, rtsp ou rtsps)</translation>
    </message>
    <message>
        <source>the refresh time &quot;%1&quot; is not a whole number of seconds</source>
        <translation>l’actualisation « %1 » n’est pas un nombre entier de secondes</translation>
    </message>
    <message>
        <source>line %1 has the name &quot;%2&quot; already</source>
        <translation>la ligne %1 porte déjà le nom « %2 »</translation>
    </message>
    <message>
        <source>a cam named &quot;%1&quot; is in the list already</source>
        <translation>une caméra nommée « %1 » est déjà dans la liste</translation>
    </message>
    <message>
        <source>line %1 has the address already</source>
        <translation>la ligne %1 a déjà cette adresse</translation>
    </message>
    <message>
        <source>the cam &quot;%1&quot; in the list has this address</source>
        <translation>la caméra « %1 » de la liste a cette adresse</translation>
    </message>
    <message>
        <source>it has %1 of the %2 fields a cam needs</source>
        <translation>elle a %1 des %2 champs qu’il faut à une caméra</translation>
    </message>
    <message>
        <source>it is not a cam address (http, https, rtsp or rtsps)</source>
        <translation>ce n’est pas une adresse de caméra (http, https, rtsp ou rtsps)</translation>
    </message>
    <message>
        <source>; a CSV file begins with the header row name,address,refresh</source>
        <translation>; un fichier CSV commence par la ligne d’en-tête name,address,refresh</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: %2</source>
        <translation>Impossible d’écrire « %1 » : %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Use DIR as the program folder (cam list, settings, Help.rtf, the cam folder); it is created when missing.</source>
        <translation>Utiliser DIR comme dossier du programme (liste des caméras, réglages, Help.rtf, le dossier cam) ; il est créé s’il manque.</translation>
    </message>
    <message>
        <source>Start six demo cams and a clock server on this machine, in a fresh demo folder, and open them. At exit the folder is removed unless pictures were saved in it.</source>
        <translation>Lancer six caméras de démonstration et un serveur d’heure sur cette machine, dans un nouveau dossier de démonstration, et les ouvrir. À la sortie, le dossier est supprimé sauf si des images y ont été enregistrées.</translation>
    </message>
    <message>
        <source>Open the cam NAME from the cam list at start; may be given more than once.</source>
        <translation>Ouvrir au démarrage la caméra NAME de la liste ; peut être donné plusieurs fois.</translation>
    </message>
    <message>
        <source>Show the main window full screen (wall displays).</source>
        <translation>Afficher la fenêtre principale en plein écran (écrans muraux).</translation>
    </message>
    <message>
        <source>Start with View &gt; Wall: every open cam as large as the window allows. With --fullscreen the wall fills the screen (a kiosk; F11 or Esc returns to the normal window).</source>
        <translation>Démarrer avec Affichage &gt; Mur : chaque caméra ouverte aussi grande que la fenêtre le permet. Avec --fullscreen, le mur remplit l’écran (un kiosque ; F11 ou Échap revient à la fenêtre normale).</translation>
    </message>
    <message>
        <source>Log each change of a cam&apos;s state or last outcome to standard error (the log category tolvane.watch; QT_LOGGING_RULES can do the same).</source>
        <translation>Journaliser sur la sortie d’erreur chaque changement d’état ou de dernier résultat d’une caméra (la catégorie de journal tolvane.watch ; QT_LOGGING_RULES peut faire de même).</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argument inattendu : %1</translation>
    </message>
    <message>
        <source>--home needs a folder name.</source>
        <translation>--home demande un nom de dossier.</translation>
    </message>
    <message>
        <source>%1: watches public web cams, saves their new pictures and shows one cam large.

The program folder holds the cam list 00camlist.txt, the settings file %1.ini and the saved pictures (cam/). It is the folder given with --home, else $TOLVANE_HOME, else for an installed program $XDG_DATA_HOME/tolvane (~/.local/share/tolvane when XDG_DATA_HOME is not set), else the folder of the program itself.

A time-lapse video of a cam&apos;s saved pictures, without a window: tolvane --timelapse CAM --from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]; an existing FILE is replaced only with --overwrite.

Recording without a window, until SIGTERM or SIGINT: tolvane --record [--home DIR] [--open NAME]... [--verbose] saves the new pictures of the cams marked &quot;Record&quot; (or of those named) as AutoSave does; tolvane --record --help says more. tolvane --status [--home DIR] prints what the recorder does or last did</source>
        <translation>%1 : surveille des webcams publiques, enregistre leurs nouvelles images et affiche une caméra en grand.

Le dossier du programme contient la liste des caméras 00camlist.txt, le fichier de réglages %1.ini et les images enregistrées (cam/). C’est le dossier donné par --home, sinon $TOLVANE_HOME, sinon pour un programme installé $XDG_DATA_HOME/tolvane (~/.local/share/tolvane si XDG_DATA_HOME n’est pas défini), sinon le dossier du programme lui-même.

Une vidéo accélérée des images enregistrées d’une caméra, sans fenêtre : tolvane --timelapse CAMÉRA --from ISO --to ISO [--fps N] --out FICHIER [--overwrite] [--home DOSSIER] ; un FICHIER existant n’est remplacé qu’avec --overwrite.

Enregistrer sans fenêtre, jusqu’à SIGTERM ou SIGINT : tolvane --record [--home DOSSIER] [--open NOM]... [--verbose] enregistre les nouvelles images des caméras marquées « Enregistrer » (ou de celles nommées) comme l’enregistrement automatique ; tolvane --record --help en dit plus. tolvane --status [--home DOSSIER] affiche ce que fait ou a fait en dernier l’enregistreur</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>&amp;Cams</source>
        <translation>&amp;Caméras</translation>
    </message>
    <message>
        <source>Add a Cam</source>
        <translation>Ajouter une caméra</translation>
    </message>
    <message>
        <source>Delete Selected Cam</source>
        <translation>Supprimer la caméra choisie</translation>
    </message>
    <message>
        <source>Edit Selected Cam</source>
        <translation>Modifier la caméra choisie</translation>
    </message>
    <message>
        <source>Start Selected Cam</source>
        <translation>Démarrer la caméra choisie</translation>
    </message>
    <message>
        <source>Stop All Cams</source>
        <translation>Arrêter toutes les caméras</translation>
    </message>
    <message>
        <source>Make Time-lapse…</source>
        <translation>Créer un accéléré…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>View Help</source>
        <translation>Afficher l’aide</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À pro&amp;pos</translation>
    </message>
    <message>
        <source>About this software</source>
        <translation>À propos de ce logiciel</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Options…</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>Affic&amp;hage</translation>
    </message>
    <message>
        <source>Wall</source>
        <translation>Mur</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Controls</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Suppr.</translation>
    </message>
    <message>
        <source>Remove Selected Cam</source>
        <translation>Retirer la caméra choisie</translation>
    </message>
    <message>
        <source>Start Cam</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Stop All</source>
        <translation>Tout arrêter</translation>
    </message>
    <message>
        <source>AutoSave New Pictures</source>
        <translation>Enregistrement auto</translation>
    </message>
    <message>
        <source>saved to /cam/ subdirectory of the program folder</source>
        <translation>enregistrées dans le sous-dossier /cam/ du dossier du programme</translation>
    </message>
    <message>
        <source>Webcam Listing</source>
        <translation>Liste des webcams</translation>
    </message>
    <message>
        <source>Webcams</source>
        <translation>Webcams</translation>
    </message>
    <message>
        <source>The mask of %1 could not be kept: %2</source>
        <translation>Le masque de %1 n’a pas pu être conservé : %2</translation>
    </message>
    <message>
        <source>Not in the cam list: %1</source>
        <translation>Absentes de la liste des caméras : %1</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Copier l’adresse</translation>
    </message>
    <message>
        <source>Hold Shift to copy the address with its password</source>
        <translation>Maintenez Maj pour copier l’adresse avec son mot de passe</translation>
    </message>
    <message>
        <source>Open Address in Browser</source>
        <translation>Ouvrir l’adresse dans le navigateur</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importer…</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exporter…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Show in Viewer</source>
        <translation>Afficher dans la visionneuse</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Fetch Now</source>
        <translation>Récupérer maintenant</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Enregistrer l’image</translation>
    </message>
    <message>
        <source>%1 is no longer in the cam list</source>
        <translation>%1 n’est plus dans la liste des caméras</translation>
    </message>
    <message>
        <source>%1 has no address in the cam list file</source>
        <translation>%1 n’a pas d’adresse dans le fichier de la liste des caméras</translation>
    </message>
    <message>
        <source>%1 is a file on this computer, not a cam: a cam needs a web address (http, https, rtsp), so nothing was added</source>
        <translation>%1 est un fichier de cet ordinateur, pas une caméra : une caméra a besoin d’une adresse web (http, https, rtsp) ; rien n’a été ajouté</translation>
    </message>
    <message>
        <source>What was dropped is not a cam address (http, https, rtsp), so nothing was added</source>
        <translation>Ce qui a été déposé n’est pas une adresse de caméra (http, https, rtsp) ; rien n’a été ajouté</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Ajuster</translation>
    </message>
    <message>
        <source>Earlier Picture</source>
        <translation>Image précédente</translation>
    </message>
    <message>
        <source>Later Picture</source>
        <translation>Image suivante</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En direct</translation>
    </message>
    <message>
        <source>No cam is shown in the Viewer: click a cam&apos;s picture first</source>
        <translation>Aucune caméra dans la visionneuse : cliquez d’abord sur l’image d’une caméra</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 par %2</translation>
    </message>
    <message>
        <source>The cam list could not be loaded: %1</source>
        <translation>La liste des caméras n’a pas pu être chargée : %1</translation>
    </message>
    <message>
        <source>The folder %1 could not be created (%2); new pictures cannot be saved.</source>
        <translation>Le dossier %1 n’a pas pu être créé (%2) ; les nouvelles images ne peuvent pas être enregistrées.</translation>
    </message>
    <message>
        <source>Not reopened, no longer in the cam list: %1</source>
        <translation>Non rouvertes, car absentes de la liste des caméras : %1</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>%1 :: Add a Cam</source>
        <translation>%1 :: Ajouter une caméra</translation>
    </message>
    <message>
        <source>My Cam</source>
        <translation>Ma caméra</translation>
    </message>
    <message>
        <source>create a unique name</source>
        <translation>choisissez un nom unique</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>Create a unique name for the cam</source>
        <translation>Choisissez un nom unique pour la caméra</translation>
    </message>
    <message>
        <source>(Cams that are already open will need to be restarted)</source>
        <translation>(Les caméras déjà ouvertes devront être redémarrées)</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>Oops!</source>
        <translation>Oups !</translation>
    </message>
    <message>
        <source>You must first select a cam from the list.</source>
        <translation>Choisissez d’abord une caméra dans la liste.</translation>
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
        <translation>Lisez-moi/Aide</translation>
    </message>
    <message>
        <source>Show at Startup</source>
        <translation>Afficher au démarrage</translation>
    </message>
</context>
<context>
    <name>GmtClock</name>
    <message>
        <source> (system clock)</source>
        <translation> (horloge système)</translation>
    </message>
</context>
<context>
    <name>HealthCounts</name>
    <message>
        <source>no cam open</source>
        <translation>aucune caméra ouverte</translation>
    </message>
</context>
<context>
    <name>HistoryBar</name>
    <message>
        <source>Previous saved picture</source>
        <translation>Image enregistrée précédente</translation>
    </message>
    <message>
        <source>Next saved picture</source>
        <translation>Image enregistrée suivante</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En direct</translation>
    </message>
    <message>
        <source>Back to the live picture</source>
        <translation>Retour à l’image en direct</translation>
    </message>
    <message>
        <source>The cam&apos;s saved pictures; the right end is live</source>
        <translation>Les images enregistrées de la caméra ; tout à droite, le direct</translation>
    </message>
    <message>
        <source>The saved picture %1 could not be read</source>
        <translation>L’image enregistrée %1 n’a pas pu être lue</translation>
    </message>
    <message>
        <source>Live (%1 new)</source>
        <translation>Direct (%1 nouv.)</translation>
    </message>
    <message>
        <source>Live (no saved pictures)</source>
        <translation>Direct (aucune image enregistrée)</translation>
    </message>
    <message>
        <source>Live (%1 saved)</source>
        <translation>Direct (%1 enregistrées)</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>&quot;%1&quot; is on or off.</source>
        <translation>« %1 » est activé ou désactivé.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; takes a whole number from %2 to %3%4.</source>
        <translation>« %1 » prend un nombre entier de %2 à %3%4.</translation>
    </message>
    <message>
        <source>, or nothing (%1)</source>
        <translation>, ou rien (%1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is one of: %2.</source>
        <translation>« %1 » vaut l’un de : %2.</translation>
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
        <translation>usage : tolvane --record [--home DIR] [--open NAME]... [--verbose]
Enregistre sans fenêtre : enregistre les nouvelles images des caméras marquées « Enregistrer » dans
leur dialogue (ou de celles données par --open) exactement comme l’enregistrement automatique, avec
leurs lignes d’index et la conservation des options, jusqu’à SIGTERM ou SIGINT. Suit les changements
du fichier de la liste des caméras.
  --home DIR    le dossier du programme (comme pour la fenêtre)
  --open NAME   enregistrer cette caméra de la liste ; peut être donné plusieurs fois
  --verbose     aussi les lignes d’information des autres journaux (vérification de l’index, conservation)
Une ligne par changement d’état d’une caméra va sur la sortie d’erreur. Un seul enregistreur peut
tenir un dossier (le fichier de verrou tolvane-record.lock le nomme). Code de sortie : 0 arrêté par
un signal, 1 n’a pas pu démarrer, 2 ligne de commande incorrecte.</translation>
    </message>
    <message>
        <source>%1 is not an option of --record</source>
        <translation>%1 n’est pas une option de --record</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>tolvane: %1
%2</source>
        <translation>tolvane : %1
%2</translation>
    </message>
    <message>
        <source>tolvane: the program folder %1 does not exist and cannot be created</source>
        <translation>tolvane : le dossier du programme %1 n’existe pas et ne peut pas être créé</translation>
    </message>
    <message>
        <source>tolvane: %1 is already being recorded by process %2 (see %3)</source>
        <translation>tolvane : %1 est déjà enregistré par le processus %2 (voir %3)</translation>
    </message>
    <message>
        <source>tolvane: %1 is already being recorded by another process that is just starting</source>
        <translation>tolvane : %1 est déjà enregistré par un autre processus qui démarre</translation>
    </message>
    <message>
        <source>tolvane: recording in %1 as process %2 (%3)</source>
        <translation>tolvane : enregistrement dans %1 par le processus %2 (%3)</translation>
    </message>
    <message>
        <source>no cam is marked for recording yet</source>
        <translation>aucune caméra n’est encore marquée pour l’enregistrement</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 caméras</translation>
    </message>
    <message>
        <source>tolvane: stopped; every picture saved is whole and indexed</source>
        <translation>tolvane : arrêté ; chaque image enregistrée est complète et indexée</translation>
    </message>
</context>
<context>
    <name>SecondaryWindows</name>
    <message>
        <source>Could not open %1: no web browser could be started (%2)</source>
        <translation>Impossible d’ouvrir %1 : aucun navigateur web n’a pu être lancé (%2)</translation>
    </message>
    <message>
        <source>xdg-open was not found</source>
        <translation>xdg-open est introuvable</translation>
    </message>
    <message>
        <source>xdg-open could not run: %1</source>
        <translation>xdg-open n’a pas pu s’exécuter : %1</translation>
    </message>
    <message>
        <source>xdg-open ended with status %1</source>
        <translation>xdg-open s’est terminé avec le code %1</translation>
    </message>
    <message>
        <source>xdg-open stopped</source>
        <translation>xdg-open a été interrompu</translation>
    </message>
</context>
<context>
    <name>SettingKeys</name>
    <message>
        <source>Reopen the cams that were open</source>
        <translation>Rouvrir les caméras qui étaient ouvertes</translation>
    </message>
    <message>
        <source>At start the cams that were open when the program ended come back in their panels, with the Viewer&apos;s cam, its zoom, the wall and the window&apos;s size and place as they were. --open, --wall and --fullscreen replace what they name.</source>
        <translation>Au démarrage, les caméras ouvertes à la fermeture du programme reviennent dans leurs panneaux, avec la caméra de la visionneuse, son zoom, le mur ainsi que la taille et la position de la fenêtre. --open, --wall et --fullscreen remplacent ce qu’ils désignent.</translation>
    </message>
    <message>
        <source>Stale after (minutes without a new picture)</source>
        <translation>Périmée après (minutes sans nouvelle image)</translation>
    </message>
    <message>
        <source>A cam whose pictures keep coming, but none of them new, is marked stale after this many minutes, or after ten of its refresh intervals when that is longer. Cams that send no Last-Modified time are never stale.</source>
        <translation>Une caméra dont les images arrivent toujours, mais sans aucune nouvelle, est marquée périmée après ce nombre de minutes, ou après dix de ses intervalles d’actualisation si c’est plus long. Les caméras qui n’envoient pas d’heure Last-Modified ne sont jamais périmées.</translation>
    </message>
    <message>
        <source>Frozen after (minutes without a change in the picture)</source>
        <translation>Figée après (minutes sans changement dans l’image)</translation>
    </message>
    <message>
        <source>A cam that keeps sending new pictures (a new Last-Modified or ETag, other bytes) while the picture itself stays the same, outside its mask, is marked frozen after this many minutes, or after ten of its refresh intervals when that is longer: a burnt-in clock that still ticks on a picture that no longer changes. 0: never.</source>
        <translation>Une caméra qui envoie toujours de nouvelles images (nouveau Last-Modified ou ETag, autres octets) alors que l’image elle-même ne change pas hors de son masque est marquée figée après ce nombre de minutes, ou après dix de ses intervalles d’actualisation si c’est plus long : une horloge incrustée qui tourne encore sur une image qui ne bouge plus. 0 : jamais.</translation>
    </message>
    <message>
        <source>Keep saved pictures for N days</source>
        <translation>Garder les images enregistrées N jours</translation>
    </message>
    <message>
        <source>Pictures this program saved and indexed are deleted once they are older than this many days (checked at start and every hour). Empty keeps them for ever.</source>
        <translation>Les images enregistrées et indexées par ce programme sont supprimées dès qu’elles ont plus de ce nombre de jours (vérifié au démarrage et toutes les heures). Vide : elles sont gardées pour toujours.</translation>
    </message>
    <message>
        <source>forever</source>
        <translation>pour toujours</translation>
    </message>
    <message>
        <source>Save pictures in</source>
        <translation>Enregistrer les images dans</translation>
    </message>
    <message>
        <source>The folder new pictures (AutoSave and Save Image) are saved in; it is made when missing. Each folder has its own picture index, so the history shows the pictures of the folder chosen. Empty: the folder cam beside the program.</source>
        <translation>Le dossier où les nouvelles images (enregistrement automatique et « Enregistrer l’image ») sont enregistrées ; il est créé s’il manque. Chaque dossier a son propre index d’images : l’historique montre les images du dossier choisi. Vide : le dossier cam à côté du programme.</translation>
    </message>
    <message>
        <source>the folder cam beside the program</source>
        <translation>le dossier cam à côté du programme</translation>
    </message>
    <message>
        <source>Classic: HarbourCam9Dec2026155945.jpg</source>
        <translation>Classique : CamPort9déc2026155945.jpg</translation>
    </message>
    <message>
        <source>Sortable: Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg</source>
        <translation>Triable : Cam Port/2026-12-09/Cam Port 2026-12-09 15.59.45.jpg</translation>
    </message>
    <message>
        <source>Saved pictures&apos; names</source>
        <translation>Noms des images enregistrées</translation>
    </message>
    <message>
        <source>Classic: the cam&apos;s name, the date and the time in your formats, every picture in one folder. Sortable: a folder per cam and per day, names that sort by time, and two pictures of one second kept apart by &quot; (2)&quot;. Pictures saved under either are found by the history, the time-lapse and the retention.</source>
        <translation>Classique : le nom de la caméra, la date et l’heure dans vos formats, toutes les images dans un seul dossier. Triable : un dossier par caméra et par jour, des noms qui se trient par heure, et deux images de la même seconde distinguées par « (2) ». L’historique, l’accéléré et la conservation trouvent les images enregistrées des deux façons.</translation>
    </message>
    <message>
        <source>Trusted certificate authorities (PEM file)</source>
        <translation>Autorités de certification de confiance (fichier PEM)</translation>
    </message>
    <message>
        <source>https cams whose certificate comes from one of the authorities in this PEM file are trusted, as are those SSL_CERT_FILE and SSL_CERT_DIR name.</source>
        <translation>Les caméras https dont le certificat vient d’une des autorités de ce fichier PEM sont reconnues, comme celles que désignent SSL_CERT_FILE et SSL_CERT_DIR.</translation>
    </message>
    <message>
        <source>only the system&apos;s</source>
        <translation>seulement celles du système</translation>
    </message>
    <message>
        <source>Let a download that is still arriving finish</source>
        <translation>Laisser finir un téléchargement en cours</translation>
    </message>
    <message>
        <source>When a cam&apos;s refresh interval ends while its picture is still arriving, the download goes on and the next one starts as soon as it ends. A download that brings no byte for 10 seconds is abandoned.</source>
        <translation>Quand l’intervalle d’actualisation d’une caméra se termine alors que son image arrive encore, le téléchargement continue et le suivant commence dès qu’il est fini. Un téléchargement qui n’apporte aucun octet pendant 10 secondes est abandonné.</translation>
    </message>
    <message>
        <source>&quot;{label}&quot; takes a host name or address, optionally followed by &quot;:port&quot; (1 to 65535), such as time.nist.gov or 192.0.2.1:13.</source>
        <translation>« {label} » prend un nom d’hôte ou une adresse, éventuellement suivi de « :port » (1 à 65535), comme time.nist.gov ou 192.0.2.1:13.</translation>
    </message>
    <message>
        <source>Time server (daytime protocol)</source>
        <translation>Serveur d’heure (protocole daytime)</translation>
    </message>
    <message>
        <source>The server the GMT clock asks for the time, with the daytime protocol (port 13 unless &quot;host:port&quot; names another). Empty asks {default}.</source>
        <translation>Le serveur auquel l’horloge GMT demande l’heure, avec le protocole daytime (port 13, sauf si « hôte:port » en indique un autre). Vide : {default} est interrogé.</translation>
    </message>
    <message>
        <source>Follow redirects</source>
        <translation>Suivre les redirections</translation>
    </message>
    <message>
        <source>A cam that answers with a redirect (301, 302, 303, 307, 308) is asked again at the new address, up to 5 times. http may lead to https, never https to http. Off: a redirect shows the not-found picture.</source>
        <translation>Une caméra qui répond par une redirection (301, 302, 303, 307, 308) est interrogée de nouveau à la nouvelle adresse, jusqu’à 5 fois. http peut mener à https, jamais https à http. Désactivé : une redirection affiche l’image « introuvable ».</translation>
    </message>
    <message>
        <source>Ask whether the picture changed</source>
        <translation>Demander si l’image a changé</translation>
    </message>
    <message>
        <source>Each fetch sends the last picture&apos;s ETag and Last-Modified time; a cam that answers 304 (unchanged) sends no picture, and the one shown stays.</source>
        <translation>Chaque récupération envoie l’ETag et l’heure Last-Modified de la dernière image ; une caméra qui répond 304 (inchangée) n’envoie pas d’image, et celle affichée reste.</translation>
    </message>
    <message>
        <source>The server&apos;s Last-Modified line</source>
        <translation>La ligne Last-Modified du serveur</translation>
    </message>
    <message>
        <source>The picture&apos;s content</source>
        <translation>Le contenu de l’image</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Les deux</translation>
    </message>
    <message>
        <source>A picture is new when it changed by</source>
        <translation>Ce qui rend une image nouvelle</translation>
    </message>
    <message>
        <source>The server&apos;s Last-Modified line: a new time stamp makes a new picture, whatever it shows. The picture&apos;s content: the picture itself changed (identical bytes never have); suits cams that send no Last-Modified, or a new one with every answer. Both: the server says so and the picture changed.</source>
        <translation>La ligne Last-Modified du serveur : un nouvel horodatage fait une nouvelle image, quoi qu’elle montre. Le contenu de l’image : l’image elle-même a changé (des octets identiques jamais) ; convient aux caméras qui n’envoient pas de Last-Modified, ou un nouveau à chaque réponse. Les deux : le serveur le dit et l’image a changé.</translation>
    </message>
    <message>
        <source>Content rule: a pixel changed by more than (of 255)</source>
        <translation>Règle du contenu : un pixel a changé de plus de (sur 255)</translation>
    </message>
    <message>
        <source>Under the content rule, each picture is compared with the last new one as a small grey copy; a pixel of it has changed when its brightness differs by more than this many levels of 255.</source>
        <translation>Avec la règle du contenu, chaque image est comparée à la dernière nouvelle sous forme d’une petite copie en gris ; un pixel a changé quand sa luminosité diffère de plus de ce nombre de niveaux sur 255.</translation>
    </message>
    <message>
        <source>Content rule: new when more than N per mille of it changed</source>
        <translation>Règle du contenu : nouvelle si plus de N pour mille a changé</translation>
    </message>
    <message>
        <source>Under the content rule, a picture is new when more than this many thousandths of its pixels changed (5: half a percent).</source>
        <translation>Avec la règle du contenu, une image est nouvelle quand plus de ce nombre de millièmes de ses pixels a changé (5 : un demi pour cent).</translation>
    </message>
    <message>
        <source>At the bottom</source>
        <translation>En bas</translation>
    </message>
    <message>
        <source>At the top</source>
        <translation>En haut</translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>Masqué</translation>
    </message>
    <message>
        <source>Wall: name and time band</source>
        <translation>Mur : bandeau du nom et de l’heure</translation>
    </message>
    <message>
        <source>Where each wall tile shows its cam&apos;s name and the time its picture last changed. At the top suits cams that print their own caption at the bottom of the picture; hidden leaves the whole picture free.</source>
        <translation>Où chaque vignette du mur affiche le nom de sa caméra et l’heure du dernier changement de l’image. En haut convient aux caméras qui impriment leur propre légende en bas de l’image ; masqué laisse toute l’image libre.</translation>
    </message>
    <message>
        <source>Desktop notifications when a cam goes down</source>
        <translation>Notifications du bureau quand une caméra tombe</translation>
    </message>
    <message>
        <source>A cam that has been failing, frozen or stale for the time below is told in a desktop notification, and so is its return. Cams that change together share one notification.</source>
        <translation>Une caméra en échec, figée ou périmée pendant la durée ci-dessous est signalée par une notification du bureau, tout comme son retour. Les caméras qui changent ensemble partagent une notification.</translation>
    </message>
    <message>
        <source>Alert after (seconds a cam is down)</source>
        <translation>Alerter après (secondes de panne d’une caméra)</translation>
    </message>
    <message>
        <source>A cam alerts once it has been failing, frozen or stale for this many seconds, added up while it comes and goes, and at most once in this time.</source>
        <translation>Une caméra alerte dès qu’elle est en échec, figée ou périmée depuis ce nombre de secondes, cumulées tant qu’elle va et vient, et au plus une fois dans ce délai.</translation>
    </message>
    <message>
        <source>Alert command (program and arguments, no shell)</source>
        <translation>Commande d’alerte (programme et arguments, sans shell)</translation>
    </message>
    <message>
        <source>Run on each alert, whether or not notifications are on, with TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE and TOLVANE_PICTURE (the last picture) in its environment. It is stopped after 10 seconds; its output goes to the log.</source>
        <translation>Lancée à chaque alerte, que les notifications soient activées ou non, avec TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE et TOLVANE_PICTURE (la dernière image) dans son environnement. Elle est arrêtée après 10 secondes ; sa sortie va dans le journal.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source>Keep watching in the tray when the window is closed</source>
        <translation>Continuer dans la zone de notification quand la fenêtre est fermée</translation>
    </message>
    <message>
        <source>Closing the window leaves the cams watched and alerting; the tray icon shows their health, brings the window back and ends the program (Exit). Without a tray on the desktop, closing still ends the program.</source>
        <translation>Fermer la fenêtre laisse les caméras surveillées et les alertes actives ; l’icône de la zone de notification montre leur état, rappelle la fenêtre et quitte le programme (Quitter). Sans zone de notification sur le bureau, fermer quitte toujours le programme.</translation>
    </message>
    <message>
        <source>The zoom takes 1 to 5, or fit.</source>
        <translation>Le zoom prend 1 à 5, ou fit.</translation>
    </message>
    <message>
        <source>Keep at most N gigabytes of saved pictures</source>
        <translation>Garder au plus N gigaoctets d&apos;images enregistrées</translation>
    </message>
    <message>
        <source>Once the pictures this program saved and indexed take more than this many gigabytes, the oldest of them are deleted until they fit (checked at start and every hour). Empty sets no limit.</source>
        <translation>Dès que les images que ce programme a enregistrées et indexées occupent plus que ce nombre de gigaoctets, les plus anciennes sont supprimées jusqu&apos;à ce qu&apos;elles tiennent (vérifié au démarrage et toutes les heures). Vide ne fixe aucune limite.</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>aucune limite</translation>
    </message>
    <message>
        <source>&quot;{label}&quot; takes always, two times such as 06:00-20:00, or daylight with a latitude and longitude in degrees, such as daylight 51.48 -0.01 (civil at the end for civil twilight).</source>
        <translation>« {label} » accepte always, deux heures comme 06:00-20:00, ou daylight suivi d’une latitude et d’une longitude en degrés, comme daylight 51.48 -0.01 (civil à la fin pour le crépuscule civil).</translation>
    </message>
    <message>
        <source>Recorder&apos;s schedule</source>
        <translation>Horaire de l’enregistreur</translation>
    </message>
    <message>
        <source>When tolvane --record records the cams that have no schedule of their own: always (empty), between two times such as 06:00-20:00, or in daylight at a place, such as daylight 51.48 -0.01, computed here from sunrise to sunset (add civil for civil twilight).</source>
        <translation>Quand tolvane --record enregistre les caméras sans horaire propre : toujours (vide), entre deux heures comme 06:00-20:00, ou de jour en un lieu, comme daylight 51.48 -0.01, calculé ici du lever au coucher du soleil (ajoutez civil pour le crépuscule civil).</translation>
    </message>
    <message>
        <source>always</source>
        <translation>toujours</translation>
    </message>
    <message>
        <source>Show a stream cam live in the Viewer</source>
        <translation>Afficher une caméra à flux en direct dans la visionneuse</translation>
    </message>
    <message>
        <source>The stream cam (rtsp://, rtsps:// or an HLS playlist) shown in the Viewer, or full-window, keeps its stream open and shows it as video, up to 25 frames a second. The thumbnails and the wall keep one still per refresh.</source>
        <translation>La caméra de flux (rtsp://, rtsps:// ou une playlist HLS) affichée dans la visionneuse, ou en pleine fenêtre, garde son flux ouvert et l’affiche en vidéo, jusqu’à 25 images par seconde. Les vignettes et le mur gardent une image fixe par actualisation.</translation>
    </message>
</context>
<context>
    <name>SlotGrid</name>
    <message>
        <source>%1 %2 was saved but not added to the picture index: %3</source>
        <translation>%1 %2 a été enregistrée, mais pas ajoutée à l’index des images : %3</translation>
    </message>
    <message>
        <source>%1 new picture saved as %2</source>
        <translation>%1 nouvelle image enregistrée sous %2</translation>
    </message>
    <message>
        <source>%1 no picture to save</source>
        <translation>%1 aucune image à enregistrer</translation>
    </message>
    <message>
        <source>%1 could not save %2: %3</source>
        <translation>%1 impossible d’enregistrer %2 : %3</translation>
    </message>
    <message>
        <source>%1 saved as %2</source>
        <translation>%1 enregistrée sous %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d’ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open %1: its entry in the cam list file %2</source>
        <translation>Impossible d’ouvrir %1 : son entrée dans le fichier de la liste des caméras %2</translation>
    </message>
    <message>
        <source>Cannot open %1: it is not in the cam list file</source>
        <translation>Impossible d’ouvrir %1 : elle n’est pas dans le fichier de la liste des caméras</translation>
    </message>
    <message>
        <source>Cannot open %1: its refresh rate &quot;%2&quot; is not a number of seconds</source>
        <translation>Impossible d’ouvrir %1 : son actualisation « %2 » n’est pas un nombre de secondes</translation>
    </message>
    <message>
        <source>All 24 panels are in use: stop a cam first</source>
        <translation>Les 24 panneaux sont occupés : arrêtez d’abord une caméra</translation>
    </message>
    <message>
        <source>waiting for the download</source>
        <translation>attend le téléchargement</translation>
    </message>
    <message>
        <source>recorded by the recorder</source>
        <translation>enregistrée par l&apos;enregistreur</translation>
    </message>
</context>
<context>
    <name>StartupValues</name>
    <message>
        <source>%1 (error 0x%2)</source>
        <translation>%1 (erreur 0x%2)</translation>
    </message>
    <message>
        <source>The setting &quot;autoSave&quot; could not be read: %1. AutoSave New Pictures starts switched off.</source>
        <translation>Le réglage « autoSave » n’a pas pu être lu : %1. « Enregistrement auto » démarre désactivé.</translation>
    </message>
    <message>
        <source>The stored setting &quot;autoSave&quot; is &quot;%1&quot;, which is neither 0 nor 1. AutoSave New Pictures starts switched off.</source>
        <translation>Le réglage enregistré « autoSave » vaut « %1 », ni 0 ni 1. « Enregistrement auto » démarre désactivé.</translation>
    </message>
    <message>
        <source>The setting &quot;showHelp&quot; could not be read: %1. The Help window opens as usual.</source>
        <translation>Le réglage « showHelp » n’a pas pu être lu : %1. La fenêtre d’aide s’ouvre comme d’habitude.</translation>
    </message>
</context>
<context>
    <name>StatusCommand</name>
    <message>
        <source>usage: tolvane --status [--home DIR]
Prints what the recorder (tolvane --record) of the program folder does or last did: for
each cam it records, its health, its last new picture and the pictures kept.</source>
        <translation>usage : tolvane --status [--home DOSSIER]
Affiche ce que fait ou a fait en dernier l’enregistreur (tolvane --record) du dossier du programme :
pour chaque caméra qu’il enregistre, son état, sa dernière nouvelle image et les images conservées.</translation>
    </message>
    <message>
        <source>never</source>
        <translation>jamais</translation>
    </message>
    <message>
        <source>recorder: running as process %1 since %2 (status of %3)</source>
        <translation>enregistreur : en marche, processus %1 depuis %2 (état du %3)</translation>
    </message>
    <message>
        <source>recorder: process %1 holds the folder and has not said anything yet; the last status, of process %2 at %3, follows</source>
        <translation>enregistreur : le processus %1 tient le dossier et n’a encore rien publié ; voici le dernier état, du processus %2 à %3</translation>
    </message>
    <message>
        <source>recorder: not running; process %1 ended without stopping cleanly after %2 (its last status follows)</source>
        <translation>enregistreur : arrêté ; le processus %1 s’est terminé sans s’arrêter proprement après %2 (voici son dernier état)</translation>
    </message>
    <message>
        <source>recorder: stopped at %1 (process %2, started %3)</source>
        <translation>enregistreur : arrêté à %1 (processus %2, démarré %3)</translation>
    </message>
    <message>
        <source>save folder: %1</source>
        <translation>dossier d’enregistrement : %1</translation>
    </message>
    <message>
        <source>no cam recorded</source>
        <translation>aucune caméra enregistrée</translation>
    </message>
    <message>
        <source>health: %1</source>
        <translation>état : %1</translation>
    </message>
    <message>
        <source>records: %1</source>
        <translation>enregistre : %1</translation>
    </message>
    <message>
        <source>last new picture: %1</source>
        <translation>dernière nouvelle image : %1</translation>
    </message>
    <message>
        <source>last saved: %1</source>
        <translation>dernier enregistrement : %1</translation>
    </message>
    <message>
        <source>none yet</source>
        <translation>aucun pour l’instant</translation>
    </message>
    <message>
        <source>pictures kept: %1</source>
        <translation>images conservées : %1</translation>
    </message>
    <message>
        <source>--home needs a value</source>
        <translation>--home demande une valeur</translation>
    </message>
    <message>
        <source>%1 is not an option of --status</source>
        <translation>%1 n’est pas une option de --status</translation>
    </message>
</context>
<context>
    <name>Timelapse</name>
    <message>
        <source>1 picture</source>
        <translation>1 image</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 images</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>inconnu</translation>
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
        <translation>l’encodeur H.264 « %1 » manque à ce FFmpeg (libavcodec %2) ; le paquet Debian libavcodec59 apporte libx264</translation>
    </message>
    <message>
        <source>cannot write %1: the folder %2 does not exist</source>
        <translation>impossible d’écrire %1 : le dossier %2 n’existe pas</translation>
    </message>
    <message>
        <source>cannot write %1: it is a folder</source>
        <translation>impossible d’écrire %1 : c’est un dossier</translation>
    </message>
    <message>
        <source>the H.264 encoder &quot;%1&quot; cannot be used: %2</source>
        <translation>l’encodeur H.264 « %1 » est inutilisable : %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d’écrire %1 : %2</translation>
    </message>
    <message>
        <source>out of memory for a %1 x %2 frame</source>
        <translation>mémoire insuffisante pour une image de %1 x %2</translation>
    </message>
    <message>
        <source>a picture could not be converted for the video</source>
        <translation>une image n’a pas pu être convertie pour la vidéo</translation>
    </message>
    <message>
        <source>the encoder failed: %1</source>
        <translation>l’encodeur a échoué : %1</translation>
    </message>
    <message>
        <source>%1 already exists and was left as it was</source>
        <translation>%1 existe déjà et n’a pas été modifié</translation>
    </message>
    <message>
        <source>there are no pictures to make a video of</source>
        <translation>il n’y a aucune image pour faire une vidéo</translation>
    </message>
    <message>
        <source>%1 frames per second is not between 1 and 120</source>
        <translation>%1 images par seconde n’est pas entre 1 et 120</translation>
    </message>
    <message>
        <source>FFmpeg has no MP4 writer</source>
        <translation>ce FFmpeg ne sait pas écrire de MP4</translation>
    </message>
    <message>
        <source>cancelled; no file was written</source>
        <translation>annulé ; aucun fichier n’a été écrit</translation>
    </message>
    <message>
        <source>the one picture could not be read</source>
        <translation>la seule image n’a pas pu être lue</translation>
    </message>
    <message>
        <source>none of the %1 pictures could be read</source>
        <translation>aucune des %1 images n’a pu être lue</translation>
    </message>
    <message>
        <source>%1 written to %2 (%3 x %4, %5 frames per second)%6</source>
        <translation>vidéo de %1 écrite dans %2 (%3 x %4, %5 images par seconde)%6</translation>
    </message>
    <message>
        <source>; 1 unreadable file skipped</source>
        <translation> ; 1 fichier illisible ignoré</translation>
    </message>
    <message>
        <source>; %1 unreadable files skipped</source>
        <translation> ; %1 fichiers illisibles ignorés</translation>
    </message>
</context>
<context>
    <name>TimelapseCommand</name>
    <message>
        <source>usage: tolvane --timelapse CAM --from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]
  ISO is a local date and time such as 2024-05-07T06:00 (an offset such as +02:00 may follow)</source>
        <translation>usage : tolvane --timelapse CAMÉRA --from ISO --to ISO [--fps N] --out FICHIER [--overwrite] [--home DOSSIER]
  ISO est une date et heure locales comme 2024-05-07T06:00 (un décalage comme +02:00 peut suivre)</translation>
    </message>
    <message>
        <source>%1 is not an option of --timelapse</source>
        <translation>%1 n’est pas une option de --timelapse</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>--fps takes a whole number from 1 to 120, not &quot;%1&quot;</source>
        <translation>--fps prend un nombre entier de 1 à 120, pas « %1 »</translation>
    </message>
    <message>
        <source>%1 takes a date and time such as 2024-05-07T06:00, not &quot;%2&quot;</source>
        <translation>%1 prend une date et une heure comme 2024-05-07T06:00, pas « %2 »</translation>
    </message>
    <message>
        <source>--timelapse needs the cam&apos;s name</source>
        <translation>--timelapse demande le nom de la caméra</translation>
    </message>
    <message>
        <source>--from and --to are both needed</source>
        <translation>--from et --to sont tous deux nécessaires</translation>
    </message>
    <message>
        <source>--to is before --from</source>
        <translation>--to est avant --from</translation>
    </message>
    <message>
        <source>--out needs the video file to write</source>
        <translation>--out demande le fichier vidéo à écrire</translation>
    </message>
    <message>
        <source>tolvane: %1
%2</source>
        <translation>tolvane : %1
%2</translation>
    </message>
    <message>
        <source>tolvane: the program folder %1 does not exist</source>
        <translation>tolvane : le dossier du programme %1 n’existe pas</translation>
    </message>
    <message>
        <source>tolvane: %1 already exists; give --overwrite to replace it</source>
        <translation>tolvane : %1 existe déjà ; ajoutez --overwrite pour le remplacer</translation>
    </message>
    <message>
        <source>tolvane: the cam list could not be read (%1); going by the picture index</source>
        <translation>tolvane : la liste des caméras n’a pas pu être lue (%1) ; l’index des images fait foi</translation>
    </message>
    <message>
        <source>tolvane: no such cam: &quot;%1&quot; (cams: %2)</source>
        <translation>tolvane : caméra inconnue : « %1 » (caméras : %2)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source>tolvane: no pictures of &quot;%1&quot; between %2 and %3</source>
        <translation>tolvane : aucune image de « %1 » entre %2 et %3</translation>
    </message>
    <message>
        <source>%1/%2, %3 left</source>
        <translation>%1/%2, reste %3</translation>
    </message>
</context>
<context>
    <name>ViewerPane</name>
    <message>
        <source>Fit</source>
        <translation>Ajuster</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Visionneuse</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom :</translation>
    </message>
    <message>
        <source>The whole picture in the Viewer (0)</source>
        <translation>Toute l’image dans la visionneuse (0)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Enregistrer l’image</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Écran de veille</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Masque</translation>
    </message>
    <message>
        <source>Parts of the picture that do not count as a change (a clock, a logo): drag to add a rectangle, click one to remove it</source>
        <translation>Parties de l’image qui ne comptent pas comme un changement (une horloge, un logo) : faites glisser pour ajouter un rectangle, cliquez sur l’un d’eux pour le retirer</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Refresh Rate:</source>
        <translation>Actualisation :</translation>
    </message>
    <message>
        <source>Last Changed:</source>
        <translation>Dernier changement :</translation>
    </message>
    <message>
        <source>Last Refreshed:</source>
        <translation>Dernière actualisation :</translation>
    </message>
    <message>
        <source>Next Refresh:</source>
        <translation>Prochaine actualisation :</translation>
    </message>
    <message>
        <source>Current Time:</source>
        <translation>Heure actuelle :</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>État :</translation>
    </message>
</context>
<context>
    <name>ViewerSlot</name>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
</context>
<context>
    <name>WallView</name>
    <message>
        <source>No cams are open. Press Esc for the cam list.</source>
        <translation>Aucune caméra n’est ouverte. Appuyez sur Échap pour la liste des caméras.</translation>
    </message>
</context>
<context>
    <name>WatchedCam</name>
    <message>
        <source>Downloading %1 [%2]</source>
        <translation>Téléchargement de %1 [%2]</translation>
    </message>
    <message>
        <source>%1 could not save the new picture of %2 as %3: %4</source>
        <translation>%1 impossible d’enregistrer la nouvelle image de %2 sous %3 : %4</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Version:</source>
        <translation>Version :</translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation>Propriétaire :</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Site web :</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>À propos de %1</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.
It comes with no warranty.</source>
        <translation>Logiciel libre sous licence publique générale GNU, version 3 ou ultérieure.
Il est fourni sans aucune garantie.</translation>
    </message>
</context>
<context>
    <name>frmImport</name>
    <message>
        <source>%1 :: Import Cams</source>
        <translation>%1 :: Importer des caméras</translation>
    </message>
    <message>
        <source>From %1 (%2): %3, %4.</source>
        <translation>De %1 (%2) : %3, %4.</translation>
    </message>
    <message>
        <source>a CSV file</source>
        <translation>un fichier CSV</translation>
    </message>
    <message>
        <source>a list of addresses</source>
        <translation>une liste d’adresses</translation>
    </message>
    <message>
        <source>1 cam will be added</source>
        <translation>1 caméra sera ajoutée</translation>
    </message>
    <message>
        <source>%1 cams will be added</source>
        <translation>%1 caméras seront ajoutées</translation>
    </message>
    <message>
        <source>1 row is skipped</source>
        <translation>1 ligne est ignorée</translation>
    </message>
    <message>
        <source>%1 rows are skipped</source>
        <translation>%1 lignes sont ignorées</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualisation</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Ce qui se passe</translation>
    </message>
    <message>
        <source>added</source>
        <translation>ajoutée</translation>
    </message>
    <message>
        <source>skipped: %1</source>
        <translation>ignorée : %1</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Parcourir…</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>no cam named &quot;%1&quot; in the cam list</source>
        <translation>aucune caméra nommée « %1 » dans la liste</translation>
    </message>
    <message>
        <source>%1 (not opened: %2)</source>
        <translation>%1 (non ouvertes : %2)</translation>
    </message>
</context>
<context>
    <name>frmTimelapse</name>
    <message>
        <source>Make Time-lapse</source>
        <translation>Créer un accéléré</translation>
    </message>
    <message>
        <source>Cam:</source>
        <translation>Caméra :</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Du :</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Au :</translation>
    </message>
    <message>
        <source>Frames per second:</source>
        <translation>Images par seconde :</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Parcourir…</translation>
    </message>
    <message>
        <source>Video file:</source>
        <translation>Fichier vidéo :</translation>
    </message>
    <message>
        <source>Make</source>
        <translation>Créer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Video file</source>
        <translation>Fichier vidéo</translation>
    </message>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation>Vidéo MP4 (*.mp4)</translation>
    </message>
    <message>
        <source>%1 already exists.

Replace it with the time-lapse of &quot;%2&quot;?</source>
        <translation>%1 existe déjà.

Le remplacer par l’accéléré de « %2 » ?</translation>
    </message>
    <message>
        <source>There are no saved pictures of &quot;%1&quot; in that range.</source>
        <translation>Aucune image enregistrée de « %1 » dans cette période.</translation>
    </message>
    <message>
        <source>Nothing was made; %1 is as it was.</source>
        <translation>Rien n’a été créé ; %1 est inchangé.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Making the time-lapse</source>
        <translation>Création de l’accéléré</translation>
    </message>
    <message>
        <source>%1 of %2, %3 left</source>
        <translation>%1 sur %2, reste %3</translation>
    </message>
    <message>
        <source>No video: %1</source>
        <translation>Pas de vidéo : %1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>the demo cams could not start: %1</source>
        <translation>les caméras de démonstration n’ont pas pu démarrer : %1</translation>
    </message>
    <message>
        <source>the demo clock server could not start: %1</source>
        <translation>le serveur d’heure de démonstration n’a pas pu démarrer : %1</translation>
    </message>
    <message>
        <source>no demo folder could be made in %1</source>
        <translation>aucun dossier de démonstration n’a pu être créé dans %1</translation>
    </message>
    <message>
        <source>%1 demo: cams on 127.0.0.1:%2, clock on 127.0.0.1:%3, folder %4</source>
        <translation>démo %1 : caméras sur 127.0.0.1:%2, horloge sur 127.0.0.1:%3, dossier %4</translation>
    </message>
    <message>
        <source>%1 demo: %2 saved pictures kept in %3</source>
        <translation>démo %1 : %2 images enregistrées gardées dans %3</translation>
    </message>
    <message>
        <source>the demo folder %1 could not be removed</source>
        <translation>le dossier de démonstration %1 n’a pas pu être supprimé</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (voir --help)</translation>
    </message>
    <message>
        <source>the program folder %1 does not exist and cannot be created</source>
        <translation>le dossier du programme %1 n’existe pas et ne peut pas être créé</translation>
    </message>
    <message>
        <source>%1 demo: 1 saved picture kept in %2</source>
        <translation>démo %1 : 1 image enregistrée gardée dans %2</translation>
    </message>
</context>
</TS>
