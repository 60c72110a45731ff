#include "serial/ComOptions.h"

#include "serial/CPort.h"

namespace kes {

// ---- time-outs

void TComTimeouts::Set(int& field, int v) {
    if (field == v) return;
    field = v;
    if (port_) port_->ApplyTimeoutSettings();
}

void TComTimeouts::SetReadInterval(int v) { Set(readInterval_, v); }
void TComTimeouts::SetReadTotalMultiplier(int v) { Set(readTotalMultiplier_, v); }
void TComTimeouts::SetReadTotalConstant(int v) { Set(readTotalConstant_, v); }
void TComTimeouts::SetWriteTotalMultiplier(int v) { Set(writeTotalMultiplier_, v); }
void TComTimeouts::SetWriteTotalConstant(int v) { Set(writeTotalConstant_, v); }

void TComTimeouts::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TComTimeouts*>(&source);
    if (!other) return TPersistent::Assign(source);
    readInterval_ = other->readInterval_;
    readTotalMultiplier_ = other->readTotalMultiplier_;
    readTotalConstant_ = other->readTotalConstant_;
    writeTotalMultiplier_ = other->writeTotalMultiplier_;
    writeTotalConstant_ = other->writeTotalConstant_;
}

// ---- flow control

template <typename T>
void TComFlowControl::Set(T& field, T v) {
    if (field == v) return;
    field = v;
    Apply();
}

void TComFlowControl::Apply() {
    if (port_) port_->ApplyLineSettings();
}

void TComFlowControl::SetOutCTSFlow(bool v) { Set(outCTSFlow_, v); }
void TComFlowControl::SetOutDSRFlow(bool v) { Set(outDSRFlow_, v); }
void TComFlowControl::SetControlDTR(TDTRFlowControl v) { Set(controlDTR_, v); }
void TComFlowControl::SetControlRTS(TRTSFlowControl v) { Set(controlRTS_, v); }
void TComFlowControl::SetXonXoffOut(bool v) { Set(xonXoffOut_, v); }
void TComFlowControl::SetXonXoffIn(bool v) { Set(xonXoffIn_, v); }
void TComFlowControl::SetDSRSensitivity(bool v) { Set(dsrSensitivity_, v); }
void TComFlowControl::SetTxContinueOnXoff(bool v) { Set(txContinueOnXoff_, v); }
void TComFlowControl::SetXonChar(char v) { Set(xonChar_, v); }
void TComFlowControl::SetXoffChar(char v) { Set(xoffChar_, v); }

TFlowControl TComFlowControl::FlowControl() const {
    if (controlRTS_ == rtsHandshake && outCTSFlow_ && !xonXoffIn_ && !xonXoffOut_) return fcHardware;
    if (controlRTS_ == rtsDisable && !outCTSFlow_ && xonXoffIn_ && xonXoffOut_) return fcSoftware;
    if (controlRTS_ == rtsDisable && !outCTSFlow_ && !xonXoffIn_ && !xonXoffOut_) return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl v) {
    if (v != fcCustom) {
        controlRTS_ = rtsDisable;
        outCTSFlow_ = xonXoffIn_ = xonXoffOut_ = false;
        if (v == fcHardware) {
            controlRTS_ = rtsHandshake;
            outCTSFlow_ = true;
        } else if (v == fcSoftware) {
            xonXoffIn_ = xonXoffOut_ = true;
        }
    }
    Apply();
}

void TComFlowControl::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TComFlowControl*>(&source);
    if (!other) return TPersistent::Assign(source);
    outCTSFlow_ = other->outCTSFlow_;
    outDSRFlow_ = other->outDSRFlow_;
    controlDTR_ = other->controlDTR_;
    controlRTS_ = other->controlRTS_;
    xonXoffOut_ = other->xonXoffOut_;
    xonXoffIn_ = other->xonXoffIn_;
    dsrSensitivity_ = other->dsrSensitivity_;
    txContinueOnXoff_ = other->txContinueOnXoff_;
    xonChar_ = other->xonChar_;
    xoffChar_ = other->xoffChar_;
}

// ---- parity

template <typename T>
void TComParity::Set(T& field, T v) {
    if (field == v) return;
    field = v;
    if (port_) port_->ApplyLineSettings();
}

void TComParity::SetBits(TParityBits v) { Set(bits_, v); }
void TComParity::SetCheck(bool v) { Set(check_, v); }
void TComParity::SetReplace(bool v) { Set(replace_, v); }
void TComParity::SetReplaceChar(char v) { Set(replaceChar_, v); }

void TComParity::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TComParity*>(&source);
    if (!other) return TPersistent::Assign(source);
    bits_ = other->bits_;
    check_ = other->check_;
    replace_ = other->replace_;
    replaceChar_ = other->replaceChar_;
}

// ---- buffer

void TComBuffer::Set(int& field, int v) {
    if (v > 0 && (v % 2) != 0) --v;
    if (field == v) return;
    field = v;
    if (port_) port_->ApplyBufferSizes();
}

void TComBuffer::SetInputSize(int v) { Set(inputSize_, v); }
void TComBuffer::SetOutputSize(int v) { Set(outputSize_, v); }

void TComBuffer::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TComBuffer*>(&source);
    if (!other) return TPersistent::Assign(source);
    inputSize_ = other->inputSize_;
    outputSize_ = other->outputSize_;
}

}  // namespace kes
