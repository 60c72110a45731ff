#pragma once
// The port's option objects: time-outs, flow control, parity, buffer sizes. A setter stores a changed value and,
// when the object belongs to a port, re-applies its group on the port (which does nothing while closed).
#include "base/Component.h"
#include "serial/ComTypes.h"

namespace kes {

class TCustomComPort;

class TComTimeouts : public TPersistent {
    KES_CLASS(TComTimeouts, TPersistent)
public:
    explicit TComTimeouts(TCustomComPort* port = nullptr) : port_(port) {}
    TCustomComPort* ComPort() const { return port_; }

    // Milliseconds (multipliers per byte); -1 stands for the largest unsigned 32-bit value.
    int ReadInterval() const { return readInterval_; }
    int ReadTotalMultiplier() const { return readTotalMultiplier_; }
    int ReadTotalConstant() const { return readTotalConstant_; }
    int WriteTotalMultiplier() const { return writeTotalMultiplier_; }
    int WriteTotalConstant() const { return writeTotalConstant_; }
    void SetReadInterval(int v);
    void SetReadTotalMultiplier(int v);
    void SetReadTotalConstant(int v);
    void SetWriteTotalMultiplier(int v);
    void SetWriteTotalConstant(int v);

    void Assign(const TPersistent& source) override;

private:
    void Set(int& field, int v);
    TCustomComPort* port_;
    int readInterval_ = -1;
    int readTotalMultiplier_ = 0;
    int readTotalConstant_ = 0;
    int writeTotalMultiplier_ = 100;
    int writeTotalConstant_ = 1000;
};

class TComFlowControl : public TPersistent {
    KES_CLASS(TComFlowControl, TPersistent)
public:
    explicit TComFlowControl(TCustomComPort* port = nullptr) : port_(port) {}
    TCustomComPort* ComPort() const { return port_; }

    bool OutCTSFlow() const { return outCTSFlow_; }
    bool OutDSRFlow() const { return outDSRFlow_; }
    TDTRFlowControl ControlDTR() const { return controlDTR_; }
    TRTSFlowControl ControlRTS() const { return controlRTS_; }
    bool XonXoffOut() const { return xonXoffOut_; }
    bool XonXoffIn() const { return xonXoffIn_; }
    bool DSRSensitivity() const { return dsrSensitivity_; }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }
    char XonChar() const { return xonChar_; }
    char XoffChar() const { return xoffChar_; }
    void SetOutCTSFlow(bool v);
    void SetOutDSRFlow(bool v);
    void SetControlDTR(TDTRFlowControl v);
    void SetControlRTS(TRTSFlowControl v);
    void SetXonXoffOut(bool v);
    void SetXonXoffIn(bool v);
    void SetDSRSensitivity(bool v);
    void SetTxContinueOnXoff(bool v);
    void SetXonChar(char v);
    void SetXoffChar(char v);

    // Summary of RTS control, CTS flow and the Xon/Xoff flags (not stored with the window).
    TFlowControl FlowControl() const;
    // fcCustom changes no flag; the others set the four flags they summarise. Always re-applies.
    void SetFlowControl(TFlowControl v);

    void Assign(const TPersistent& source) override;

private:
    template <typename T>
    void Set(T& field, T v);
    void Apply();
    TCustomComPort* port_;
    bool outCTSFlow_ = false;
    bool outDSRFlow_ = false;
    TDTRFlowControl controlDTR_ = dtrDisable;
    TRTSFlowControl controlRTS_ = rtsDisable;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
    char xonChar_ = 17;
    char xoffChar_ = 19;
};

class TComParity : public TPersistent {
    KES_CLASS(TComParity, TPersistent)
public:
    explicit TComParity(TCustomComPort* port = nullptr) : port_(port) {}
    TCustomComPort* ComPort() const { return port_; }

    TParityBits Bits() const { return bits_; }
    bool Check() const { return check_; }
    bool Replace() const { return replace_; }
    char ReplaceChar() const { return replaceChar_; }
    void SetBits(TParityBits v);
    void SetCheck(bool v);
    void SetReplace(bool v);
    void SetReplaceChar(char v);

    void Assign(const TPersistent& source) override;

private:
    template <typename T>
    void Set(T& field, T v);
    TCustomComPort* port_;
    TParityBits bits_ = prNone;
    bool check_ = false;
    bool replace_ = false;
    char replaceChar_ = 0;
};

class TComBuffer : public TPersistent {
    KES_CLASS(TComBuffer, TPersistent)
public:
    explicit TComBuffer(TCustomComPort* port = nullptr) : port_(port) {}
    TCustomComPort* ComPort() const { return port_; }

    // Driver queue sizes in bytes; a positive odd size is stored one lower.
    int InputSize() const { return inputSize_; }
    int OutputSize() const { return outputSize_; }
    void SetInputSize(int v);
    void SetOutputSize(int v);

    void Assign(const TPersistent& source) override;

private:
    void Set(int& field, int v);
    TCustomComPort* port_;
    int inputSize_ = 1024;
    int outputSize_ = 1024;
};

}  // namespace kes
