#include <emscripten.h>

#include <charconv>
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

// The answer's text, written piece by piece: the page asks after every change, and a few
// hundred parts should cost it no more than a fraction of a millisecond.
class Json {
  public:
    Json& operator<<(const char* piece) {
        text += piece;
        return *this;
    }
    Json& operator<<(int number) {
        char digits[12];
        text.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
        return *this;
    }
    Json& operator<<(const Node& pin) {
        return *this << "[" << pin.x + pin.size / 2 << "," << pin.y + pin.size / 2 << "]";
    }
    // Opens a part; its pins follow.
    void part(int id, const char* kind, int x, int y) {
        *this << (text.back() == '[' ? "{\"id\":" : ",{\"id\":") << id << ",\"kind\":\"" << kind
              << "\",\"at\":[" << x << "," << y << "],\"pins\":[";
    }

    std::string text;
};

}  // namespace

// {"parts":[{"id","kind","at":[x,y],"pins":[[x,y]...]} and a button's "on", a lamp's "lit"...],
//  "wires":[[to,pin,from,value]...], "selected":[to,pin,from]}
// Pins: a gate's inputs A, B and output; a button's output; a lamp's input. A wire feeds input
// `pin` (0 A, 1 B, 2 a lamp's) of `to` from the output of `from`. Nothing selected is 0, and -1
// for the pin. The text stays valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* velkoraCircuit() {
    static Json json;
    json.text.clear();
    json << "{\"parts\":[";
    const auto& slots = Gate::getObjects();
    for (std::size_t slot = 1; slot < slots.size(); slot += 2) {  // each gate's second slot
        Gate& gate = *slots[slot];
        json.part(gate.getId(), kindOf(gate), gate.getX() + gate.getW() / 2,
                  gate.getY() + gate.getH() / 2);
        json << *gate.getInA() << "," << *gate.getInB() << "," << *gate.getOutputNode() << "]}";
    }
    for (Input* button : Input::getInputs()) {
        int half = button->getSize() / 2;
        json.part(button->getId(), "Button", button->getX() + half, button->getY() + half);
        json << *button->getOutputNode() << (button->state ? "],\"on\":true}" : "],\"on\":false}");
    }
    for (Output* lamp : Output::getOutputs()) {
        int half = lamp->getSize() / 2;
        json.part(lamp->getId(), "Lamp", lamp->getX() + half, lamp->getY() + half);
        json << *lamp->getInputNode() << (lamp->lit ? "],\"lit\":true}" : "],\"lit\":false}");
    }
    json << "],\"wires\":[";
    for (const Edge& wire : edgeList) {
        json << (json.text.back() == '[' ? "[" : ",[") << wire.left << "," << wire.which << ","
             << wire.right << (wire.value ? ",1]" : ",0]");
    }
    json << "],\"selected\":[" << leftNode << "," << which << "," << rightNode << "]}";
    return json.text.c_str();
}
