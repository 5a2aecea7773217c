#pragma once

class QPrinter;

// The application's current printer: the printer set-up edits it and every print layout reads
// its paper and orientation. Made on first use, freed when the application ends; nothing of it
// is stored.
QPrinter& currentPrinter();
