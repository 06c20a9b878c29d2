#pragma once
// The start-up and teardown sequences shared by the wizard and the command-line tool:
// services, engine, units and program settings; and the singletons' shutdown order.

#include <string>

enum class ReporterMode { Gui, Headless };

// Offsets, reporter, command and listener managers.
void StartServices(ReporterMode mode);
// Services, then the engine with all documents, then the unit system and program settings.
void StartCore(ReporterMode mode);
// The design file to open at start: the command line's file; else the array file last
// loaded or saved, while it exists; else "Default.21w" (in any case of letters) in the
// "Kesta" folder of `documentsFolder`; else "" (the built-in start-up array stays).
std::string ChooseStartupFile(const std::string& commandLineFile, const std::string& rememberedFile,
                              const std::string& documentsFolder);
// Loads the file ChooseStartupFile names for this program's command line, settings and
// documents folder; the design opened counts as unchanged and the history starts there.
void OpenStartupFile();

// StartCore creates every singleton in one fixed order; the two shutdown steps destroy them
// in the reverse order. First the engine and the document managers (they write their
// record files) ...
void ShutdownEngineDocuments();
// ... then the rest: SPL, render, command and UI managers ("Settings.xml" is saved), the
// listener manager, the shared null node and last the error reporter.
void ShutdownCore();
