"""What Install.EXE shows and writes, as the product defines it: dialog
texts, messages and shortcut tables in English, French and Italian, and the
fixed names of the run."""

PRODUCT = "Quorlet V4.06"
EDITOR = "Quorlet.exe"
UNINSTALLER_COPY = "Remvex406.exe"  # the editor's version 4.0.6 in the name
# The application files, in the order the installer copies them.
APP_FILES = ["64asm.ini", "Ada.ini", "American.vtd", "Basic.ini", "Batfiles.ini", "C31.ini", "Corba.ini",
             "Cpp.ini", "Default.dll", "Default.ini", "Quorlet.exe", "Quorlet.ocx", "Fortran.dll",
             "Fortran.ini", "French.vtd", "Generic.dll", "Helpfr.cnt", "Helpfr.hlp", "Helpit.cnt",
             "Helpit.hlp", "Helpru.cnt", "Helpru.hlp", "Helpus.cnt", "Helpus.hlp", "Html.dll", "Html.ini",
             "Inifiles.dll", "Inifiles.ini", "Italian.vtd", "Java.ini", "Joyerr.tex", "Latex.dll",
             "Latex.ini", "Lisp.ini", "Matlab.ini", "Opl.ini", "Orderfr.doc", "Orderit.doc", "Orderru.doc",
             "Orderus.doc", "Pascal.ini", "Perl.ini", "Pov.ini", "Readmefr.doc", "Readmeit.doc",
             "Readmeru.doc", "Readmeus.doc", "Spell.dll", "Sql.ini", "Tipsfr.txt", "Tipsit.txt",
             "Tipsru.txt", "Tipsus.txt"]
SYSTEM_DLLS = ["Mfc42.dll", "Msvcrt.dll", "Oleaut32.dll", "Olepro32.dll"]
UNINSTALLER = "Remvex.exe"
CAPTION = "Install"  # message boxes: the installer's file name

EXTENSIONS = ("1st asm asp bas c cpp def dpr for f77 frm h hpj idl inc ini jav java log m me out pas pov "
              "rc sql tex txt")

# Control ids of the templates.
IDOK, IDCANCEL = 1, 2
IDC_TYPES, IDC_BROWSE, IDC_DESTINATION = 257, 1024, 1025
IDC_PROGRESS, IDC_PERCENT, IDC_STATUS = 1027, 1028, 1029
IDC_RESTART_NOW, IDC_RESTART_LATER, IDC_INTRO = 1030, 1031, 1032

ERROR_FILE_NOT_FOUND = 2

KEY_CURRENT_VERSION = "Software\\Microsoft\\Windows\\CurrentVersion"
KEY_APP_PATH = KEY_CURRENT_VERSION + "\\App Paths\\Quorlet.exe"
KEY_UNINSTALL = KEY_CURRENT_VERSION + "\\Uninstall\\" + PRODUCT
KEY_ENVIRONMENT = "System\\CurrentControlSet\\Control\\Session Manager\\Environment"
KEY_SESSION_MANAGER = "System\\CurrentControlSet\\Control\\Session Manager"
KEY_SHELL_FOLDERS = KEY_CURRENT_VERSION + "\\Explorer\\Shell Folders"

TEXTS = {
    "en": {
        "destination.caption": "Quorlet installation",
        "destination.buttons": {IDOK: "&Next >", IDC_BROWSE: "&Browse...", IDCANCEL: "Cancel"},
        "destination.group": "Destination folder",
        "intro": "Setup will install {0} in the following folder.\n\nTo install to this folder, click &Next.\n\n"
                 "To install to a different folder, click &Browse and select another folder.\n\n"
                 "You can choose not to install {0} by clicking Cancel to exit setup.",
        "choose_dir": "Choose directory:",
        "progress.caption": "Progress",
        "installing": "Installing {0}.",
        "filetypes.caption": "File type associations",
        "filetypes.buttons": {IDOK: "&Yes", IDCANCEL: "&No"},
        "restart.caption": "Restart Windows",
        "restart.radios": {IDC_RESTART_NOW: "Yes, I want to restart now",
                           IDC_RESTART_LATER: "No, I will restart later"},
        "need_win32": "Quorlet requiert Windows 95, 98, ou NT4 ou plus !",
        "copy_failed": "Copying {0} to {1} : {2}",
        "logoff": "The Quorlet installation will now effect a Logoff to take the modification of the Path "
                  "environment variable into account.",
        "done": "Installation normally terminated. You can now use Quorlet.",
        "shortcuts": [("Quorlet V4.06.lnk", "Quorlet.exe", "Quorlet V4.06"),
                      ("Quorlet's help.lnk", "HelpUs.hlp", "Quorlet's help"),
                      ("Information.lnk", "ReadmeUs.doc", "Information"),
                      ("Order form.lnk", "OrderUs.doc", "Order form"),
                      ("Uninstall.lnk", "Remvex.exe", "Uninstall")],
    },
    "fr": {
        "destination.caption": "Installation de Quorlet",
        "destination.buttons": {IDOK: "&Suivant >", IDC_BROWSE: "&Parcourir...", IDCANCEL: "Annuler"},
        "destination.group": "Répertoire de destination",
        "intro": "{0} va être installé dans le répertoire ci-après.\n\nPour effectuer l'installation, cliquez sur "
                 "&Suivant.\n\nPour installer dans un autre répertoire, choisissez &Parcourir et choisissez un "
                 "autre répertoire.\n\nVous pouvez choisier de ne pas installer {0} en cliquant Annuler pour "
                 "sortir de l'installation.",
        "choose_dir": "Choisissez le répertoire:",
        "progress.caption": "Avancement",
        "installing": "Installation de {0} en cours.",
        "filetypes.caption": "Associations de types de fichiers",
        "filetypes.buttons": {IDOK: "&Oui", IDCANCEL: "&Non"},
        "restart.caption": "Redémarrer Windows",
        "restart.radios": {IDC_RESTART_NOW: "Oui, je veux redémarrer maintenant",
                           IDC_RESTART_LATER: "Non, je redémarrerais plus tard"},
        "copy_failed": "Copie de {0} vers {1} : {2}",
        "done": "Installation normalement terminée. Vous pouvez maintenant utiliser Quorlet.",
        "shortcuts": [("Quorlet V4.06.lnk", "Quorlet.exe", "Quorlet V4.06"),
                      ("Aide de  Quorlet.lnk", "HelpFr.hlp", "Aide de Quorlet"),
                      ("Informations.lnk", "ReadmeFr.doc", "Informations"),
                      ("Bon de commande.lnk", "OrderFr.doc", "Bon de commande"),
                      ("Désinstaller.lnk", "Remvex.exe", "Désinstaller")],
    },
    "it": {
        "destination.caption": "Installazione di Quorlet",
        "destination.buttons": {IDOK: "&Successivo >", IDC_BROWSE: "&Sfoglia...", IDCANCEL: "Annulla"},
        "destination.group": "Cartella destinazione",
        "intro": "{0} sara installato nella cartella qui sotto.\n\nPer installare in questa cartella, fare clic su "
                 "successivo.\n\nPer installare in un'altra cartella, fare clic su &Sfoglia e scegliere un'altra "
                 "cartella.\n\nPuò scegliere di non installare {0} faccendo clic su Annulla per uscire "
                 "dell'installazione.",
        "choose_dir": "Scelga la directory:",
        "progress.caption": "Avanzamento",
        "installing": "Installazione di {0} in corso.",
        "filetypes.caption": "Associazioni di tipi di file",
        "filetypes.buttons": {IDOK: "&Si", IDCANCEL: "&No"},
        "restart.caption": "Riavviare Windows",
        "restart.radios": {IDC_RESTART_NOW: "Si, voglio riavviare adesso",
                           IDC_RESTART_LATER: "No, riavviero più tardi"},
        "copy_failed": "Copia di {0} verso {1} : {2} !",
        "done": "Installazione terminata normalmente. Puo adesso utilizzare Quorlet.",
        "shortcuts": [("Quorlet V4.06.lnk", "Quorlet.exe", "Quorlet V4.06"),
                      ("Guida di Quorlet.lnk", "HelpIt.hlp", "Guida di Quorlet"),
                      (" Informazioni.lnk", "ReadmeIt.doc", "Informazioni"),
                      ("Buono di ordinazione.lnk", "OrderIt.doc", "Buono di ordinazione"),
                      ("Disinstallare.lnk", "Remvex.exe", " Disinstallare")],
    },
}
