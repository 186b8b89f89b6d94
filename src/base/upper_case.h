#pragma once
// Upper case of the letters names and titles are written with: ASCII and the accented
// letters of Latin-1 in UTF-8 (á → Á, ñ → Ñ), so that "Año" and "AÑO" compare equal.
// Every other character is kept as it is.
#include <string>

std::string UpperCaseLatin1(const std::string& utf8);
