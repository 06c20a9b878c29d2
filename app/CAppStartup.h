#pragma once
// The start-up and teardown sequences shared by the wizard and the command-line tool:
// services, engine, units and program settings; and the singletons' shutdown order.

enum class ReporterMode { Gui, Headless };

// Offsets, reporter, command and listener managers.
void StartServices(ReporterMode mode);
// Services, then the engine with all documents, then the unit system and program settings.
void StartCore(ReporterMode mode);
// Loads the command-line file, or the default design of the documents folder when present.
void OpenStartupFile();

// StartCore creates every singleton in one fixed order; the two shutdown steps destroy them
// in the reverse order. First the engine and the document managers (they write their
// record files) ...
void ShutdownEngineDocuments();
// ... then the rest: SPL, render, command and UI managers ("Settings.xml" is saved), the
// listener manager, the shared null node and last the error reporter.
void ShutdownCore();
