#pragma once

class QWidget;

// Start-up timing for the start-up benchmark, off unless asked for: with the environment variable
// RAZARIVU_MESURE_DEMARRAGE set to 1, the program writes "planning dessiné" on its standard
// output once the planning has first been painted on the screen, then ends with status 0.
namespace MesureDemarrage {

bool demandee();

// Watches `planning` (the grid surface) for its first paint; the program ends right after it.
void terminerApresPremierDessin(QWidget *planning);

} // namespace MesureDemarrage
