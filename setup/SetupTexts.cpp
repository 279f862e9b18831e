#include "setup/SetupTexts.h"

namespace {

const CSetupTexts kItalianTexts{
    "Indietro",
    "Avanti",
    "Annulla",
    "Fine",
    "Installazione Skyvane8",
    "Installazione Skyvane8u",
    "Accetto",
    "Rifiuto",
    "Premere il pulsante AVANTI per installare Skyvane8u su",
    "Cambia...",
    "Copia in corso di...",
    "La cartella scelta esiste gia'.Vuoi sovrascriverla ?",
    "La cartella appartiene a un altro utente o altri possono scriverci.\n"
    "Scegliere un'altra cartella.",
    "Vuoi aggiungere l'icona del programma sul desktop ?",
    "Icona del programma sul desktop",
};

const CSetupTexts kEnglishTexts{
    "Back",
    "Next",
    "Cancel",
    "Finish",
    "Skyvane8 Setup",
    "Skyvane8u Setup",
    "Accept",
    "Decline",
    "Click NEXT button to install Skyvane8u on",
    "Browse...",
    "Copying...",
    "Folder already exists.Do you want to overwrite it ?",
    "The folder belongs to another user or others may write in it.\n"
    "Please choose another folder.",
    "Do you want to add shortcuts ?",
    "Shortcut on desktop",
};

} // namespace

const CSetupTexts& setupTexts(Language language)
{
    return language == Language::English ? kEnglishTexts : kItalianTexts;
}
