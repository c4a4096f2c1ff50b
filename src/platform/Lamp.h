#pragma once
// A lamp: a picture box showing the on or the off picture. The two pictures
// are bitmap files in the program folder ("OnLamp.bmp", "OffLamp.bmp"),
// drawn by the program when they are missing and loaded once.

#include <QLabel>
#include <QPixmap>

class Lamp : public QLabel
{
    Q_OBJECT
public:
    explicit Lamp(QWidget *parent = nullptr);
    // Shows the on or off picture; when that picture cannot be read the lamp
    // keeps what it shows.
    void setLit(bool on);
    // What the program set: 1 on, 0 off, -1 not set since it was created
    // (the lamp then shows the off picture).
    int state() const { return m_state; }
    // Shows the off picture when the lamp shows none yet (it was made before
    // the pictures were drawn); what the program set stays as it is.
    void ensurePicture();

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_state = -1;
};

// Writes the two lamp pictures into the program folder where they are missing.
void EnsureLampPictures();
// The pictures, read from the program folder on first use (null when the file
// cannot be read).
const QPixmap &LampPicture(bool on);
// Forgets the loaded pictures (the program folder changed).
void ForgetLampPictures();
