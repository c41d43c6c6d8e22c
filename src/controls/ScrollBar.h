#pragma once

#include <QWidget>

// The progress strip of the splash and of the update window: a gradient uncovered from the left
// in proportion to the value (0 to 100).
class ScrollBar : public QWidget
{
    Q_OBJECT
public:
    explicit ScrollBar(QWidget *parent = nullptr);

    int value() const { return m_valeur; }
    // Values outside 0..100 are brought back into it.
    void setValue(int valeur);

    QSize sizeHint() const override { return QSize(465, 20); }

    // Paints the strip for `valeur` into `zone`; shared by paintEvent and the tests.
    static void dessiner(QPainter &peintre, const QRect &zone, int valeur);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int m_valeur = 0;
};
