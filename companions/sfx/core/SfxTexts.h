#pragma once
// The self-extractor's own French texts that more than one place shows.

namespace sfxcore {

inline const char* const kCancelledText = "L'extraction a été annulée.";
inline const char* const kDamagedText =
    "L'archive est endommagée (fichier incomplet ou altéré) : extraction impossible.\n";
inline const char* const kNoFolderText =
    "Aucun dossier de destination n'est indiqué. Indiquez le dossier où extraire les fichiers.";
inline const char* const kReservedNameText = "nom réservé par Windows";

} // namespace sfxcore
