#pragma once

// The fixed words of the translation texts a dictionary is saved in.
namespace TranslationText {
constexpr const char* Root = "Language";
constexpr const char* Item = "Textitem";
constexpr const char* Key = "ID";
constexpr const char* Source = "Original";
constexpr const char* Translated = "Translated";
// Stands for a line feed inside a text, so that every entry keeps to its lines.
constexpr const char* LineBreak = "[BR]";
// Separates the translated from the source text in the plain-text form.
constexpr const char* SourceMarker = "#Original=";
}  // namespace TranslationText
