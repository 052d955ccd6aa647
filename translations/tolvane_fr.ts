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
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
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
</TS>
