// The installer's string table as the user must see it, written out here
// independently of install.rc, and the Latin-1 conversion the expected
// texts need.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/resource.h"
#include "windows.h"

// UTF-8 text of Latin letters to the bytes of code page 1252 (where every
// letter from U+00A0 to U+00FF is the byte of the same value).
inline std::string Ansi(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else {
            EXPECT_EQ(b & 0xE0, 0xC0) << "only two-byte letters expected in " << utf8;
            EXPECT_LT(i + 1, utf8.size());
            unsigned code = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
            EXPECT_GE(code, 0xA0u);
            out += static_cast<char>(code);
        }
    }
    return out;
}

enum Language { kEnglish, kFrench, kItalian };

struct ExpectedString {
    UINT id;
    const char* text[3];  // English, French, Italian, in UTF-8
};

const char* const kProduct = "Quorlet V4.06";

const ExpectedString kStrings[] = {
    {IDS_NEED_WIN32,
     {"Quorlet requiert Windows 95, 98, ou NT4 ou plus !", "Quorlet requiert Windows 95, 98, ou NT4 ou plus !",
      "Quorlet bisogna Windows 95, 98, o NT4 o di più !"}},
    {IDS_NO_MEMORY,
     {"Insufficient memory available ! Check swap file size !",
      "Mémoire insuffisante ! Vérifiez la taille du fichier swap !",
      "Memoria insufficiente ! Verifichi la taglia del swap file !"}},
    {IDS_CHOOSE_DIR, {"Choose directory:", "Choisissez le répertoire:", "Scelga la directory:"}},
    {IDS_INTRO,
     {"Setup will install %s in the following folder.\n\nTo install to this folder, click &Next.\n\n"
      "To install to a different folder, click &Browse and select another folder.\n\n"
      "You can choose not to install %s by clicking Cancel to exit setup.",
      "%s va être installé dans le répertoire ci-après.\n\nPour effectuer l'installation, cliquez sur "
      "&Suivant.\n\nPour installer dans un autre répertoire, choisissez &Parcourir et choisissez un autre "
      "répertoire.\n\nVous pouvez choisier de ne pas installer %s en cliquant Annuler pour sortir de "
      "l'installation.",
      "%s sara installato nella cartella qui sotto.\n\nPer installare in questa cartella, fare clic su "
      "successivo.\n\nPer installare in un'altra cartella, fare clic su &Sfoglia e scegliere un'altra "
      "cartella.\n\nPuò scegliere di non installare %s faccendo clic su Annulla per uscire dell'installazione."}},
    {IDS_DLL_ACCESS_DENIED,
     {"Could not update the %s system dll : %s Please give write access rights or logon again as administrator !",
      "Mise à jour de la dll système %s impossible : %s Svp, donnez les droits d'accès ou reconnectez vous sous "
      "le compte administrateur !",
      "È impossibile aggiornare la dll systema %s : %s ! Per favore, attribui i diritti di scrittura o "
      "riconnetti come amministratore !"}},
    {IDS_DLL_UPDATE_FAILED,
     {"Could not update the %s system dll : %s", "Mise à jour de la dll système %s impossible : %s",
      "È impossibile aggiornare la dll systema %s : %s !"}},
    {IDS_FILE_ACCESS,
     {"Could not access file %s : %s", "Accès au fichier %s impossible : %s",
      "È impossibile accedere al file %s : %s !"}},
    {IDS_WRITE_ERROR,
     {"Write error on file %s : %s", "Erreur lors de l'écriture du fichier %s : %s",
      "Errore di scrittura sul file %s : %s !"}},
    {IDS_PROGRESS_TITLE, {"Progress", "Avancement", "Avanzamento"}},
    {IDS_INSTALLING, {"Installing %s.", "Installation de %s en cours.", "Installazione di %s in corso."}},
    {IDS_CREATE_DIR,
     {"Could not create directory %s : %s", "Création du répertoire %s impossible : %s",
      "È impossibile creare la directory %s : %s !"}},
    {IDS_COPY_FAILED, {"Copying %s to %s : %s", "Copie de %s vers %s : %s", "Copia di %s verso %s : %s !"}},
    {IDS_CREATE_FILE,
     {"Could not create file %s : %s", "Création du fichier %s impossible : %s",
      "È impossibile creare il file %s : %s !"}},
    {IDS_SHORTCUTS,
     {"Quorlet V4.06.lnk=Quorlet.exe,Quorlet V4.06\nQuorlet's help.lnk=HelpUs.hlp,Quorlet's help\n"
      "Information.lnk=ReadmeUs.doc,Information\nOrder form.lnk=OrderUs.doc,Order form\n"
      "Uninstall.lnk=Remvex.exe,Uninstall\n",
      "Quorlet V4.06.lnk=Quorlet.exe,Quorlet V4.06\nAide de  Quorlet.lnk=HelpFr.hlp,Aide de Quorlet\n"
      "Informations.lnk=ReadmeFr.doc,Informations\nBon de commande.lnk=OrderFr.doc,Bon de commande\n"
      "Désinstaller.lnk=Remvex.exe,Désinstaller\n",
      "Quorlet V4.06.lnk=Quorlet.exe,Quorlet V4.06\nGuida di Quorlet.lnk=HelpIt.hlp,Guida di Quorlet\n"
      " Informazioni.lnk=ReadmeIt.doc,Informazioni\nBuono di ordinazione.lnk=OrderIt.doc,Buono di ordinazione\n"
      "Disinstallare.lnk=Remvex.exe, Disinstallare\n"}},
    {IDS_FILES_BUSY,
     {"Some system files were busy and you will have to restart Windows in order to terminate the installation !",
      "Certains fichiers fichiers système étaient occupés et il sera nécessaire de redémarrer Windows pour "
      "terminer l'installation !",
      "Certi file sistema erano occupati e Leï dovra riavviare Windows per finire l'installazione !"}},
    {IDS_KEY_ACCESS,
     {"Could not access key  HKEY_LOCAL_MACHINE\\%s : %s", "Accès à la clé HKEY_LOCAL_MACHINE\\%s impossible : %s",
      "È impossibile accedere alla chiave  HKEY_LOCAL_MACHINE\\%s : %s"}},
    {IDS_LOGOFF,
     {"The Quorlet installation will now effect a Logoff to take the modification of the Path environment "
      "variable into account.",
      "L'installation de Quorlet va maintenant effectuer un Logoff pour prendre en compte la modification de la "
      "variable d'environnement Path.",
      "L'installazione di Quorlet va adesso effetuare un Logoff per tener conto della modifica della variabile "
      "di ambiente Path."}},
    {IDS_DONE,
     {"Installation normally terminated. You can now use Quorlet.",
      "Installation normalement terminée. Vous pouvez maintenant utiliser Quorlet.",
      "Installazione terminata normalmente. Puo adesso utilizzare Quorlet."}},
};

// The expected text of a string id in a language, in code page 1252.
inline std::string Expected(UINT id, Language language) {
    for (const auto& s : kStrings) {
        if (s.id == id) return Ansi(s.text[language]);
    }
    ADD_FAILURE() << "no expected text for id " << id;
    return std::string();
}
