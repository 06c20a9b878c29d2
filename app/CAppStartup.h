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

// Deletes the document managers (they write their record files) in their fixed order.
void ShutdownEngineDocuments();
// The rest of the shutdown order; ends by saving "Settings.xml".
void ShutdownCore();
