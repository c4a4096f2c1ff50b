#pragma once
// Our serial communications control: the members the program uses, over
// QSerialPort. Port number n is the device named by the environment variable
// ZT_COM<n> when it is set, else /dev/ttyS<n-1>.
//
// Members that can fail return the failure number (0 when they succeed):
// 8002 invalid port number, 8003 the device may not be opened by this user,
// 8005 port already open (by this control or another program), 8015 the port
// state could not be set, 8018 the operation needs an open port, 8019 the text
// could not be written whole, 380 invalid settings text. FailureDetail() names
// the device and the system's reason of the last open or write failure.

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;
class QTimer;

class MSComm : public QObject
{
    Q_OBJECT
public:
    enum : int {
        NoError = 0,
        InvalidPropertyValue = 380,
        InvalidPortNumber = 8002,
        PortNoAccess = 8003,
        PortAlreadyOpen = 8005,
        SetStateFailed = 8015,
        PortNotOpen = 8018,
        WriteFailed = 8019,
    };
    enum : int { comEvSend = 1, comEvReceive = 2, comEvCD = 5 };

    explicit MSComm(QObject *parent = nullptr);
    ~MSComm() override;

    int CommPort() const { return m_commPort; }
    int setCommPort(int port);

    QString Settings() const { return m_settings; }
    int setSettings(const QString &settings);

    bool PortOpen() const;
    int setPortOpen(bool open);

    // Writes the text at once. A text the device does not take whole gives
    // WriteFailed; what was not sent of it is dropped.
    int Output(const QString &text);

    int RThreshold() const { return m_rThreshold; }
    // Characters already waiting are delivered by a receive event once a
    // threshold is in force.
    void setRThreshold(int n);

    int InputLen() const { return m_inputLen; }
    void setInputLen(int n) { m_inputLen = n < 0 ? 0 : n; }

    // Takes InputLen characters (all that wait when InputLen is 0); empty
    // text when nothing waits or the port is closed.
    QString Input();
    // Takes the characters waiting up to and including the first `end`, or
    // all that wait when none is among them, at most `maxLen` characters.
    // Unlike a read of everything it throws nothing away: what stays after
    // `end` is delivered by the next receive event.
    QString InputThrough(QChar end, int maxLen);

    int InBufferCount() const;
    void setInBufferCount(int n);      // 0 discards everything received
    int OutBufferCount() const;
    void setOutBufferCount(int n);     // 0 discards everything not yet sent

    int CommEvent() const { return m_commEvent; }

    // The device path a port number stands for.
    static QString DevicePath(int port);
    // "ComN = <device>" for the port number in use, followed by ": " and the
    // system's reason of the last failure to open or to write, if any.
    QString FailureDetail() const;

signals:
    // Raised for received characters (CommEvent 2) and line changes; a line
    // that closed under the program (the device went away, the far end hung
    // up) raises it with CommEvent 5 once the port is closed.
    void OnComm();
    // Raised when received input is thrown away (InBufferCount set to 0, an
    // Input read of everything that waits, or the port opened, closed or hung
    // up), so that a line still being collected from it can be dropped too.
    void InputDiscarded();

private:
    void pullFromPort();
    void dropReceived();
    qsizetype received() const { return m_rx.size() - m_rxTaken; }
    void raiseReceive();
    void onPortError(const QString &reason);
    // Whether the open port's line was hung up (or its device went away),
    // and how the operator is told so.
    bool hungUp() const;
    static QString hungUpReason();
    void raiseLineClosed();
    bool applySettings();
    int openFailure(const QString &path);

    QSerialPort *m_port;
    QTimer *m_watch;
    int m_commPort = 1;
    QString m_settings = QStringLiteral("9600,N,8,1");
    int m_rThreshold = 0;
    int m_inputLen = 0;
    int m_commEvent = 0;
    QString m_failureReason;  // the system's words for the last failure
    QByteArray m_rx;          // received; from m_rxTaken on not yet taken by Input
    qsizetype m_rxTaken = 0;
    bool m_inEvent = false;   // an OnComm handler is running
    bool m_raiseQueued = false;
};

// Parsed form of a settings text such as "9600,N,8,1".
struct CommSettings {
    int baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;   // 1, 2, or 15 for one and a half
};
bool ParseCommSettings(const QString &text, CommSettings *out);
