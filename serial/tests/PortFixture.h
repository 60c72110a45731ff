#pragma once
// A port over the recording fake device, with a log of its published events.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/CPort.h"
#include "serial/tests/FakeComDevice.h"

namespace kes::test {

class PortTest : public ::testing::Test {
protected:
    PortTest() : dev(std::make_shared<FakeDeviceState>()) {
        port = std::make_unique<TComPort>(nullptr, std::make_unique<FakeComDevice>(dev));
        port->SetName("ComPort1");
    }

    // Records every published event of the port into `events`.
    void RecordEvents() {
        port->OnBeforeOpen = [this](TObject*) { events.push_back("BeforeOpen"); };
        port->OnAfterOpen = [this](TObject*) { events.push_back("AfterOpen"); };
        port->OnBeforeClose = [this](TObject*) { events.push_back("BeforeClose"); };
        port->OnAfterClose = [this](TObject*) { events.push_back("AfterClose"); };
        port->OnRxChar = [this](TObject*, int n) { events.push_back("RxChar " + std::to_string(n)); };
        port->OnRxBuf = [this](TObject*, const char* b, int n) { events.push_back("RxBuf " + std::string(b, n)); };
        port->OnTxEmpty = [this](TObject*) { events.push_back("TxEmpty"); };
        port->OnBreak = [this](TObject*) { events.push_back("Break"); };
        port->OnRing = [this](TObject*) { events.push_back("Ring"); };
        port->OnRxFlag = [this](TObject*) { events.push_back("RxFlag"); };
        port->OnRx80Full = [this](TObject*) { events.push_back("Rx80Full"); };
        port->OnCTSChange = [this](TObject*, bool on) { events.push_back(std::string("CTS ") + (on ? "1" : "0")); };
        port->OnDSRChange = [this](TObject*, bool on) { events.push_back(std::string("DSR ") + (on ? "1" : "0")); };
        port->OnRLSDChange = [this](TObject*, bool on) { events.push_back(std::string("RLSD ") + (on ? "1" : "0")); };
        port->OnError = [this](TObject*, TComErrors e) { events.push_back("Error " + std::to_string(e.ToBits())); };
    }

    // Records every slot of a link into `events`, prefixed with its tag.
    void RecordLink(TComLink& link, const std::string& tag) {
        auto sig = [this, tag](const char* what) {
            return [this, tag, what](TObject*, bool on) { events.push_back(tag + "." + what + (on ? " 1" : " 0")); };
        };
        auto note = [this, tag](const char* what) {
            return [this, tag, what](TObject*) { events.push_back(tag + "." + what); };
        };
        link.OnConnChange = sig("Conn");
        link.OnCTSChange = sig("CTS");
        link.OnDSRChange = sig("DSR");
        link.OnRLSDChange = sig("RLSD");
        link.OnTxActivity = sig("Tx");
        link.OnRxActivity = sig("Rx");
        link.OnTxEmpty = note("TxEmpty");
        link.OnRxFlag = note("RxFlag");
        link.OnRing = note("Ring");
        link.OnTxDone = [this, tag](TObject*, const char* b, int n) {
            events.push_back(tag + ".TxDone " + std::string(b, n));
        };
    }

    void ClearLogs() {
        events.clear();
        dev->log.clear();
    }

    std::shared_ptr<FakeDeviceState> dev;
    std::vector<std::string> events;
    TComLink la, lb, lc;  // declared before the port, so that they outlive it
    std::unique_ptr<TComPort> port;
};

using Lines = std::vector<std::string>;

}  // namespace kes::test
