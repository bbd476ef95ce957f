#pragma once
// Reading a file into the document line by line, and writing it back with the chosen line end.
#include <string>

class Document;

// False, with nothing changed, when the file cannot be opened.
bool loadDocument(Document& document, const std::string& path);
// True only when every byte reached the file; on failure the title and modified flag stay.
bool saveDocument(Document& document);
