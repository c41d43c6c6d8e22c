#pragma once

class QComboBox;

// Makes the open list of `liste` tall enough to show `n` entries without scrolling.
// Returns false, changing nothing, when (n + 2) rows would not fit in a 16-bit height.
bool ajusterHauteurListe(QComboBox *liste, int n);
