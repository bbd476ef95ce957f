#pragma once
// The curses editor's one rule for words: which class a character is in. Word moves stop where
// the class changes, a double-click takes the word characters around the click, and the word
// search modes ask for letters and digits on neither side of a hit.
#include <cctype>

enum class WordClass { Blank, Word, Semicolon, Other };

inline WordClass wordClass(int cp) {
    if (cp >= 0 && cp < 128) {
        if (std::isspace(cp)) return WordClass::Blank;
        if (std::isalnum(cp) || cp == '_') return WordClass::Word;
        if (cp == ';') return WordClass::Semicolon;
    }
    return WordClass::Other;
}

// ASCII letters, digits and "_".
inline bool isWordCharacter(int cp) { return wordClass(cp) == WordClass::Word; }

// ASCII letters and digits: the bytes a whole-word hit may not touch ("_" is a boundary).
inline bool isLetterOrDigit(int cp) { return isWordCharacter(cp) && cp != '_'; }
