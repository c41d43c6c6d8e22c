#include "controls/xpcmdbutton.h"

#include "controls/PeauBouton.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

#include <cmath>

namespace {

const QImage &peauPartagee()
{
    static const QImage peau = peauBouton();
    return peau;
}

qint16 codeBoutons(Qt::MouseButtons boutons)
{
    return qint16((boutons & Qt::LeftButton ? 1 : 0) | (boutons & Qt::RightButton ? 2 : 0)
                  | (boutons & Qt::MiddleButton ? 4 : 0));
}

qint16 codeShift(Qt::KeyboardModifiers touches)
{
    return qint16((touches & Qt::ShiftModifier ? 1 : 0) | (touches & Qt::ControlModifier ? 2 : 0)
                  | (touches & Qt::AltModifier ? 4 : 0));
}

// Key codes as the windows know them (virtual-key numbers); 0 for keys that have none here.
// Punctuation keys are left out: their numbers depend on the keyboard layout.
struct CodeTouche
{
    int cle;
    qint16 code;
};

constexpr CodeTouche codesPaveNumerique[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

constexpr CodeTouche codesTouches[] = {
    {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9},   {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},  {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},         {Qt::Key_Pause, 19},  {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
    {Qt::Key_Home, 36},        {Qt::Key_Left, 37},   {Qt::Key_Up, 38},       {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},        {Qt::Key_Print, 44},  {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},        {Qt::Key_Meta, 91},   {Qt::Key_Menu, 93},     {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
};

template<size_t N> qint16 chercherCode(const CodeTouche (&table)[N], int cle)
{
    for (const CodeTouche &entree : table)
        if (entree.cle == cle)
            return entree.code;
    return 0;
}

qint16 codeTouche(const QKeyEvent &evenement)
{
    const int cle = evenement.key();
    const bool pave = evenement.modifiers() & Qt::KeypadModifier;
    if (cle >= Qt::Key_0 && cle <= Qt::Key_9)
        return qint16(pave ? 96 + (cle - Qt::Key_0) : cle);
    if (cle >= Qt::Key_A && cle <= Qt::Key_Z)
        return qint16(cle);
    if (cle >= Qt::Key_F1 && cle <= Qt::Key_F24)
        return qint16(112 + (cle - Qt::Key_F1));
    if (pave) {
        if (const qint16 code = chercherCode(codesPaveNumerique, cle))
            return code;
    }
    return chercherCode(codesTouches, cle);
}

// Half of a difference, rounded down: when the halves cannot be equal the caption sits one
// pixel up and left, whether it is smaller or larger than the face.
int moitie(int difference)
{
    return int(std::floor(difference / 2.0));
}

} // namespace

xpcmdbutton::xpcmdbutton(QWidget *parent)
    : QWidget(parent)
    , lbl(new QLabel(this))
    , Timer1(new QTimer(this))
    , m_sourcePointeur([] { return QCursor::pos(); })
{
    // Moves must arrive with no button held too: the lit face and the leave timer depend on them.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setTextFormat(Qt::PlainText);
    // Presses and moves on the caption are presses and moves on the button.
    lbl->setAttribute(Qt::WA_TransparentForMouseEvents);
    // With a buddy the label underlines the access key and owns its shortcut; the shortcut is
    // caught in eventFilter and turned into Click.
    lbl->setBuddy(this);
    lbl->installEventFilter(this);
    QPalette palette = lbl->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    lbl->setPalette(palette);
    lbl->adjustSize();
    connect(this, &QObject::objectNameChanged, this, [this](const QString &nom) {
        if (!m_legendeDonnee) {
            lbl->setText(nom);
            centrerLegende();
        }
    });

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &xpcmdbutton::verifierSortie);

    resize(sizeHint());
    redessinerAuRepos();
}

void xpcmdbutton::setState(int state)
{
    m_state = state;
    redessinerAuRepos();
}

QString xpcmdbutton::Caption() const
{
    return lbl->text();
}

void xpcmdbutton::setCaption(const QString &caption)
{
    m_legendeDonnee = true;
    lbl->setText(caption);
    centrerLegende();
}

void xpcmdbutton::setSourcePointeur(SourcePointeur source)
{
    m_sourcePointeur = std::move(source);
}

void xpcmdbutton::dessiner(int cellule)
{
    m_celluleAffichee = cellule;
    if (m_face.size() != size())
        m_face = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    if (m_face.isNull())
        return;
    // Cleared first: the rounded corners are translucent and would build up from one look to
    // the next.
    m_face.fill(Qt::transparent);
    QPainter peintre(&m_face);
    dessinerCellule(peintre, peauPartagee(), cellule, m_face.size());
    peintre.end();
    update();
}

void xpcmdbutton::redessinerAuRepos()
{
    if (m_state == 1)
        m_celluleRepos = CelluleReposMarquee;
    else if (m_state == 0)
        m_celluleRepos = CelluleRepos;
    dessiner(isEnabled() ? m_celluleRepos : CelluleInactive);
    centrerLegende();
}

void xpcmdbutton::centrerLegende()
{
    lbl->adjustSize();
    lbl->move(moitie(width() - lbl->width()), moitie(height() - lbl->height()));
}

bool xpcmdbutton::contient(const QPointF &position) const
{
    // Both far edges (x = width, y = height) count as inside: one pixel of slack past the face.
    return position.x() >= 0 && position.y() >= 0 && position.x() <= width()
        && position.y() <= height();
}

void xpcmdbutton::verifierSortie()
{
    if (contient(mapFromGlobal(m_sourcePointeur())))
        return;
    Timer1->stop();
    QPointer<xpcmdbutton> vivant(this);
    emit MouseOut();
    if (vivant)
        redessinerAuRepos();
}

void xpcmdbutton::changeEvent(QEvent *evenement)
{
    QWidget::changeEvent(evenement);
    if (evenement->type() == QEvent::EnabledChange) {
        QPalette palette = lbl->palette();
        palette.setColor(QPalette::WindowText,
                         isEnabled() ? QColor(Qt::black) : QColor(161, 161, 146));
        lbl->setPalette(palette);
        // A disabled button gets no release, so a press under way can never end in a click.
        m_clicEnCours = false;
        redessinerAuRepos();
    } else if (evenement->type() == QEvent::FontChange) {
        lbl->setFont(font());
        centrerLegende();
    }
}

bool xpcmdbutton::eventFilter(QObject *objet, QEvent *evenement)
{
    if (objet == lbl && evenement->type() == QEvent::Shortcut) {
        // Two buttons with the same access key: as a platform button, the key then moves the
        // focus between them instead of clicking one at random.
        if (static_cast<QShortcutEvent *>(evenement)->isAmbiguous())
            setFocus(Qt::ShortcutFocusReason);
        else if (isEnabled())
            emit Click();
        return true;
    }
    return QWidget::eventFilter(objet, evenement);
}

void xpcmdbutton::showEvent(QShowEvent *evenement)
{
    QWidget::showEvent(evenement);
    redessinerAuRepos();
}

void xpcmdbutton::resizeEvent(QResizeEvent *evenement)
{
    QWidget::resizeEvent(evenement);
    redessinerAuRepos();
}

void xpcmdbutton::paintEvent(QPaintEvent *evenement)
{
    QPainter peintre(this);
    peintre.drawImage(evenement->rect(), m_face, evenement->rect());
}

bool xpcmdbutton::emettreSouris(SignalSouris signal, qint16 boutons, const QMouseEvent *evenement)
{
    qint16 shift = codeShift(evenement->modifiers());
    float x = float(evenement->position().x());
    float y = float(evenement->position().y());
    // A handler may close the window that holds the button.
    QPointer<xpcmdbutton> vivant(this);
    emit(this->*signal)(boutons, shift, x, y);
    return !vivant.isNull();
}

void xpcmdbutton::mousePressEvent(QMouseEvent *evenement)
{
    if (evenement->button() == Qt::LeftButton)
        m_clicEnCours = true;
    if (emettreSouris(&xpcmdbutton::MouseDown, codeBoutons(evenement->button()), evenement))
        dessiner(CelluleEnfoncee);
}

void xpcmdbutton::mouseMoveEvent(QMouseEvent *evenement)
{
    if (!contient(evenement->position()))
        return;
    // Started only from inside: while a drag holds the mouse, moves keep coming from outside,
    // and restarting the timer on them would raise MouseOut again after every one.
    Timer1->start();
    if (emettreSouris(&xpcmdbutton::MouseMove, codeBoutons(evenement->buttons()), evenement))
        dessiner(evenement->buttons() == Qt::LeftButton ? CelluleEnfoncee : CelluleSurvolee);
}

void xpcmdbutton::mouseReleaseEvent(QMouseEvent *evenement)
{
    const bool clic
        = m_clicEnCours && evenement->button() == Qt::LeftButton && contient(evenement->position());
    if (evenement->button() == Qt::LeftButton)
        m_clicEnCours = false;
    if (!emettreSouris(&xpcmdbutton::MouseUp, codeBoutons(evenement->button()), evenement))
        return;
    redessinerAuRepos();
    if (clic)
        emit Click();
}

void xpcmdbutton::keyPressEvent(QKeyEvent *evenement)
{
    qint16 code = codeTouche(*evenement);
    qint16 shift = codeShift(evenement->modifiers());
    const QString texte = evenement->text();
    QPointer<xpcmdbutton> vivant(this);
    emit KeyDown(code, shift);
    if (vivant && !texte.isEmpty()) {
        qint16 ascii = qint16(texte.at(0).unicode());
        emit KeyPress(ascii);
    }
    // Left unaccepted, so that the window still sees Escape, Enter and its own shortcuts.
    evenement->ignore();
}

void xpcmdbutton::keyReleaseEvent(QKeyEvent *evenement)
{
    // Held keys repeat their press only; the release that X11 slips between repeats is not one.
    if (!evenement->isAutoRepeat()) {
        qint16 code = codeTouche(*evenement);
        qint16 shift = codeShift(evenement->modifiers());
        emit KeyUp(code, shift);
    }
    evenement->ignore();
}
