#include <emscripten.h>

#include <string>
#include <typeinfo>

#include "app/app_state.h"
#include "components/gate_kinds.h"
#include "components/input.h"
#include "components/output.h"
#include "graph/connections.h"

// The circuit as the page's words are made from it, asked for by the page between frames.
// It only reads: the page asks when it likes, and the program runs exactly as it would
// without it. Places are centres in canvas pixels: a part's body (where a key placed it) and
// a pin's square (where a click hits it), as the last frame drew them.
namespace {

const char* kindOf(const Gate& gate) {
    struct Kind {
        const std::type_info& type;
        const char* name;
    };
    static const Kind kinds[] = {{typeid(ANDGate), "AND"}, {typeid(NANDGate), "NAND"},
                                 {typeid(ORGate), "OR"},   {typeid(NORGate), "NOR"},
                                 {typeid(XORGate), "XOR"}, {typeid(NXORGate), "NXOR"}};
    for (const Kind& kind : kinds) {
        if (typeid(gate) == kind.type) {
            return kind.name;
        }
    }
    return "gate";
}

std::string place(int x, int y) {
    return '[' + std::to_string(x) + ',' + std::to_string(y) + ']';
}

std::string centre(const Node& pin) {
    return place(pin.x + pin.size / 2, pin.y + pin.size / 2);
}

// `state`: a button's or a lamp's, written after the pins.
std::string part(int id, const char* kind, int x, int y, const std::string& pins,
                 const std::string& state = "") {
    return "{\"id\":" + std::to_string(id) + ",\"kind\":\"" + kind + "\",\"at\":" + place(x, y) +
           ",\"pins\":[" + pins + ']' + state + '}';
}

std::string flag(const char* name, bool value) {
    return std::string(",\"") + name + "\":" + (value ? "true" : "false");
}

// Adds an item to the array `text` ends in.
void append(std::string& text, const std::string& item) {
    if (text.back() != '[') {
        text += ',';
    }
    text += item;
}

}  // namespace

// {"parts":[{"id","kind","at":[x,y],"pins":[[x,y]...]} and a button's "on", a lamp's "lit"...],
//  "wires":[[to,pin,from,value]...], "selected":[to,pin,from]}
// Pins: a gate's inputs A, B and output; a button's output; a lamp's input. A wire feeds input
// `pin` (0 A, 1 B, 2 a lamp's) of `to` from the output of `from`. Nothing selected is 0, and -1
// for the pin. The text stays valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* velkoraCircuit() {
    static std::string text;
    text = "{\"parts\":[";
    const auto& slots = Gate::getObjects();
    for (std::size_t slot = 1; slot < slots.size(); slot += 2) {  // each gate's second slot
        Gate& gate = *slots[slot];
        append(text, part(gate.getId(), kindOf(gate), gate.getX() + gate.getW() / 2,
                          gate.getY() + gate.getH() / 2,
                          centre(*gate.getInA()) + ',' + centre(*gate.getInB()) + ',' +
                              centre(*gate.getOutputNode())));
    }
    for (Input* button : Input::getInputs()) {
        int half = button->getSize() / 2;
        append(text, part(button->getId(), "Button", button->getX() + half, button->getY() + half,
                          centre(*button->getOutputNode()), flag("on", button->state)));
    }
    for (Output* lamp : Output::getOutputs()) {
        int half = lamp->getSize() / 2;
        append(text, part(lamp->getId(), "Lamp", lamp->getX() + half, lamp->getY() + half,
                          centre(*lamp->getInputNode()), flag("lit", lamp->lit)));
    }
    text += "],\"wires\":[";
    for (const Edge& wire : edgeList) {
        append(text, '[' + std::to_string(wire.left) + ',' + std::to_string(wire.which) + ',' +
                         std::to_string(wire.right) + ',' + (wire.value ? "1]" : "0]"));
    }
    text += "],\"selected\":[" + std::to_string(leftNode) + ',' + std::to_string(which) + ',' +
            std::to_string(rightNode) + "]}";
    return text.c_str();
}
