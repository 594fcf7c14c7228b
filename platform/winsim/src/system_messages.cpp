// FormatMessageA over the system's message table: the texts that Windows NT 4
// and 2000 give for the error codes the simulated calls set, in the
// language of the installed system (English, French or Italian).
#include <cstring>

#include "codepage.h"
#include "winsim/faults.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

// One message of the table, in UTF-8; each text ends with CR LF as the
// message compiler leaves it. None holds an insert or escape sequence.
struct SystemMessage {
    DWORD code;
    const char* english;
    const char* french;
    const char* italian;
};

const SystemMessage kMessages[] = {
    {0, "The operation completed successfully.\r\n", "L'opération a réussi.\r\n", "Operazione completata.\r\n"},
    {1, "Incorrect function.\r\n", "Fonction incorrecte.\r\n", "Funzione non corretta.\r\n"},
    {2, "The system cannot find the file specified.\r\n", "Le fichier spécifié est introuvable.\r\n",
     "Impossibile trovare il file specificato.\r\n"},
    {3, "The system cannot find the path specified.\r\n", "Le chemin d'accès spécifié est introuvable.\r\n",
     "Impossibile trovare il percorso specificato.\r\n"},
    {4, "The system cannot open the file.\r\n", "Le système ne peut pas ouvrir le fichier.\r\n",
     "Impossibile aprire il file.\r\n"},
    {5, "Access is denied.\r\n", "Accès refusé.\r\n", "Accesso negato.\r\n"},
    {6, "The handle is invalid.\r\n", "Descripteur non valide.\r\n", "Handle non valido.\r\n"},
    {8, "Not enough storage is available to process this command.\r\n",
     "Espace de stockage insuffisant pour traiter cette commande.\r\n",
     "Memoria insufficiente per elaborare il comando.\r\n"},
    {12, "The access code is invalid.\r\n", "Code d'accès non valide.\r\n", "Codice di accesso non valido.\r\n"},
    {13, "The data is invalid.\r\n", "Données non valides.\r\n", "Dati non validi.\r\n"},
    {14, "Not enough storage is available to complete this operation.\r\n",
     "Espace de stockage insuffisant pour exécuter cette opération.\r\n",
     "Memoria insufficiente per completare l'operazione.\r\n"},
    {15, "The system cannot find the drive specified.\r\n", "Le lecteur spécifié est introuvable.\r\n",
     "Impossibile trovare l'unità specificata.\r\n"},
    {17, "The system cannot move the file to a different disk drive.\r\n",
     "Le système ne peut pas déplacer le fichier vers une autre unité de disque.\r\n",
     "Impossibile spostare il file su un'unità disco differente.\r\n"},
    {18, "There are no more files.\r\n", "Il n'y a plus de fichier.\r\n", "Non ci sono altri file.\r\n"},
    {19, "The media is write protected.\r\n", "Le support est protégé en écriture.\r\n",
     "Supporto protetto da scrittura.\r\n"},
    {21, "The device is not ready.\r\n", "Le périphérique n'est pas prêt.\r\n", "Periferica non pronta.\r\n"},
    {29, "The system cannot write to the specified device.\r\n",
     "Le système ne peut pas écrire sur le périphérique spécifié.\r\n",
     "Impossibile scrivere sulla periferica specificata.\r\n"},
    {30, "The system cannot read from the specified device.\r\n",
     "Le système ne peut pas lire à partir du périphérique spécifié.\r\n",
     "Impossibile leggere dalla periferica specificata.\r\n"},
    {32, "The process cannot access the file because it is being used by another process.\r\n",
     "Le processus ne peut pas accéder au fichier car ce fichier est utilisé par un autre processus.\r\n",
     "Impossibile accedere al file. Il file è utilizzato da un altro processo.\r\n"},
    {33, "The process cannot access the file because another process has locked a portion of the file.\r\n",
     "Le processus ne peut pas accéder au fichier car un autre processus en a verrouillé une partie.\r\n",
     "Impossibile accedere al file. Un altro processo ha bloccato una parte del file.\r\n"},
    {38, "Reached the end of the file.\r\n", "Fin de fichier atteinte.\r\n", "È stata raggiunta la fine del file.\r\n"},
    {39, "The disk is full.\r\n", "Le disque est plein.\r\n", "Disco pieno.\r\n"},
    {53, "The network path was not found.\r\n", "Le chemin réseau n'a pas été trouvé.\r\n",
     "Impossibile trovare il percorso di rete.\r\n"},
    {65, "Network access is denied.\r\n", "L'accès réseau est refusé.\r\n", "Accesso di rete negato.\r\n"},
    {67, "The network name cannot be found.\r\n", "Le nom réseau est introuvable.\r\n",
     "Impossibile trovare il nome di rete.\r\n"},
    {80, "The file exists.\r\n", "Le fichier existe.\r\n", "Il file esiste.\r\n"},
    {82, "The directory or file cannot be created.\r\n", "Impossible de créer le répertoire ou le fichier.\r\n",
     "Impossibile creare la directory o il file.\r\n"},
    {87, "The parameter is incorrect.\r\n", "Paramètre incorrect.\r\n", "Parametro non corretto.\r\n"},
    {112, "There is not enough space on the disk.\r\n", "Espace insuffisant sur le disque.\r\n",
     "Spazio insufficiente sul disco.\r\n"},
    {120, "This function is not supported on this system.\r\n",
     "Cette fonction n'est pas prise en charge par ce système.\r\n", "Funzione non supportata dal sistema.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n",
     "La zone de données transmise à un appel système est insuffisante.\r\n",
     "L'area dati passata a una chiamata di sistema è insufficiente.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n",
     "La syntaxe du nom de fichier, de répertoire ou de volume est incorrecte.\r\n",
     "La sintassi del nome del file, della directory o del volume non è corretta.\r\n"},
    {126, "The specified module could not be found.\r\n", "Le module spécifié est introuvable.\r\n",
     "Impossibile trovare il modulo specificato.\r\n"},
    {127, "The specified procedure could not be found.\r\n", "La procédure spécifiée est introuvable.\r\n",
     "Impossibile trovare la procedura specificata.\r\n"},
    {131, "An attempt was made to move the file pointer before the beginning of the file.\r\n",
     "Tentative de déplacement du pointeur de fichier avant le début du fichier.\r\n",
     "Tentativo di spostare il puntatore del file prima dell'inizio del file.\r\n"},
    {145, "The directory is not empty.\r\n", "Le répertoire n'est pas vide.\r\n", "La directory non è vuota.\r\n"},
    {158, "The segment is already unlocked.\r\n", "Le segment est déjà déverrouillé.\r\n",
     "Il segmento è già sbloccato.\r\n"},
    {161, "The specified path is invalid.\r\n", "Le chemin d'accès spécifié n'est pas valide.\r\n",
     "Il percorso specificato non è valido.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n",
     "Impossible de créer un fichier déjà existant.\r\n", "Impossibile creare un file, se il file esiste già.\r\n"},
    {206, "The filename or extension is too long.\r\n", "Le nom de fichier ou l'extension est trop long.\r\n",
     "Il nome del file o l'estensione è troppo lungo.\r\n"},
    {234, "More data is available.\r\n", "Données supplémentaires disponibles.\r\n", "Sono disponibili altri dati.\r\n"},
    {259, "No more data is available.\r\n", "Aucune donnée supplémentaire n'est disponible.\r\n",
     "Non sono disponibili altri dati.\r\n"},
    {267, "The directory name is invalid.\r\n", "Nom de répertoire non valide.\r\n",
     "Il nome della directory non è valido.\r\n"},
    {998, "Invalid access to memory location.\r\n", "Accès non valide à l'emplacement de mémoire.\r\n",
     "Accesso alla posizione di memoria non valido.\r\n"},
    {1004, "Invalid flags.\r\n", "Indicateurs non valides.\r\n", "Flag non validi.\r\n"},
    {1008, "An attempt was made to reference a token that does not exist.\r\n",
     "Tentative de référence à un jeton qui n'existe pas.\r\n",
     "Tentativo di fare riferimento a un token inesistente.\r\n"},
    {1009, "The configuration registry database is corrupt.\r\n", "La base de données du Registre est endommagée.\r\n",
     "Il database del Registro di sistema è danneggiato.\r\n"},
    {1010, "The configuration registry key is invalid.\r\n",
     "La clé de Registre de la configuration n'est pas valide.\r\n",
     "La chiave del Registro di sistema della configurazione non è valida.\r\n"},
    {1011, "The configuration registry key could not be opened.\r\n",
     "Impossible d'ouvrir la clé de Registre de la configuration.\r\n",
     "Impossibile aprire la chiave del Registro di sistema della configurazione.\r\n"},
    {1012, "The configuration registry key could not be read.\r\n",
     "Impossible de lire la clé de Registre de la configuration.\r\n",
     "Impossibile leggere la chiave del Registro di sistema della configurazione.\r\n"},
    {1013, "The configuration registry key could not be written.\r\n",
     "Impossible d'écrire la clé de Registre de la configuration.\r\n",
     "Impossibile scrivere la chiave del Registro di sistema della configurazione.\r\n"},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion.\r\n",
     "Opération non autorisée sur une clé du Registre marquée pour suppression.\r\n",
     "Operazione non valida su una chiave del Registro di sistema contrassegnata per l'eliminazione.\r\n"},
    {1223, "The operation was canceled by the user.\r\n", "L'opération a été annulée par l'utilisateur.\r\n",
     "Operazione annullata dall'utente.\r\n"},
    {1300, "Not all privileges referenced are assigned to the caller.\r\n",
     "Les privilèges référencés ne sont pas tous attribués à l'appelant.\r\n",
     "Non tutti i privilegi a cui si fa riferimento sono assegnati al chiamante.\r\n"},
    {1313, "A specified privilege does not exist.\r\n", "Un privilège spécifié n'existe pas.\r\n",
     "Privilegio specificato inesistente.\r\n"},
    {1314, "A required privilege is not held by the client.\r\n",
     "Le client ne dispose pas d'un privilège nécessaire.\r\n", "Privilegio richiesto non posseduto dal client.\r\n"},
    {1400, "Invalid window handle.\r\n", "Handle de fenêtre non valide.\r\n", "Handle di finestra non valido.\r\n"},
    {1407, "Cannot find window class.\r\n", "Classe de fenêtre introuvable.\r\n",
     "Impossibile trovare la classe della finestra.\r\n"},
    {1410, "Class already exists.\r\n", "La classe existe déjà.\r\n", "La classe esiste già.\r\n"},
    {1413, "Invalid index.\r\n", "Index non valide.\r\n", "Indice non valido.\r\n"},
    {1421, "Control ID not found.\r\n", "ID de contrôle introuvable.\r\n", "ID di controllo non trovato.\r\n"},
    {1812, "The specified image file did not contain a resource section.\r\n",
     "Le fichier image spécifié ne contient pas de section ressource.\r\n",
     "Il file di immagine specificato non contiene una sezione di risorse.\r\n"},
    {1813, "The specified resource type cannot be found in the image file.\r\n",
     "Le type de ressource spécifié est introuvable dans le fichier image.\r\n",
     "Impossibile trovare il tipo di risorsa specificato nel file di immagine.\r\n"},
    {1814, "The specified resource name cannot be found in the image file.\r\n",
     "Le nom de ressource spécifié est introuvable dans le fichier image.\r\n",
     "Impossibile trovare il nome di risorsa specificato nel file di immagine.\r\n"},
    {1815, "The specified resource language ID cannot be found in the image file.\r\n",
     "L'ID de langue de la ressource spécifiée est introuvable dans le fichier image.\r\n",
     "Impossibile trovare l'ID di lingua della risorsa specificata nel file di immagine.\r\n"},
};

// A localized Windows carries its message table in its own language only:
// French systems in French, Italian ones in Italian, all others in English.
LANGID TableLanguage() {
    switch (PRIMARYLANGID(settings().language)) {
        case LANG_FRENCH: return MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
        case LANG_ITALIAN: return MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN);
        default: return MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    }
}

const char* TextIn(const SystemMessage& message, LANGID language) {
    switch (PRIMARYLANGID(language)) {
        case LANG_FRENCH: return message.french;
        case LANG_ITALIAN: return message.italian;
        default: return message.english;
    }
}

const SystemMessage* FindMessage(DWORD code) {
    for (const SystemMessage& message : kMessages) {
        if (message.code == code) return &message;
    }
    return nullptr;
}

// Language 0 searches neutral, thread, user and system defaults, then US
// English; the user and system defaults (0x400, 0x800) name the system's
// own language. Any other id must be the table's language exactly.
bool ServesLanguage(DWORD languageId) {
    if (languageId == 0 || languageId == MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT) ||
        languageId == MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT)) {
        return true;
    }
    return languageId == TableLanguage();
}

}  // namespace
}  // namespace winsim

extern "C" DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                       LPSTR buffer, DWORD size, va_list* arguments) {
    (void)source;
    (void)arguments;  // no system text here has an insert to fill
    const bool allocate = (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0;
    if (allocate && buffer != nullptr) *reinterpret_cast<LPSTR*>(buffer) = nullptr;

    DWORD error;
    if (winsim::ShouldFail("FormatMessageA", &error)) {
        SetLastError(error);
        return 0;
    }
    // Only the system's table is simulated, with its line breaks kept: a
    // string or module source, or a line width, is refused.
    const DWORD otherSources = FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE;
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (flags & otherSources) != 0 ||
        (flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != 0 || buffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!winsim::ServesLanguage(languageId)) {
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
        return 0;
    }
    const winsim::SystemMessage* message = winsim::FindMessage(messageId);
    if (message == nullptr) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    std::string text = winsim::Utf16ToAnsi(winsim::Utf8ToUtf16(winsim::TextIn(*message, winsim::TableLanguage())),
                                           winsim::ActiveCodePage());
    const DWORD length = static_cast<DWORD>(text.size());

    if (allocate) {
        // nSize is the least number of characters to allocate.
        SIZE_T bytes = length + 1 > size ? length + 1 : size;
        char* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, bytes));
        if (block == nullptr) return 0;  // LocalAlloc has set the error
        std::memcpy(block, text.c_str(), length + 1);
        *reinterpret_cast<LPSTR*>(buffer) = block;
        return length;
    }
    if (length + 1 > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.c_str(), length + 1);
    return length;
}
