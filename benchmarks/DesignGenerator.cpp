#include "DesignGenerator.h"

#include <QFile>

#include <iterator>

namespace DesignGenerator {

namespace {

// Every node kind the reader keeps or drops, in the mix a site has.
struct Block
{
    const char *className;
    const char *typeNumber;
};
const Block Blocks[] = {{"Gain", "0"},       {"Selector", "2"}, {"ToneEQ", "0"},
                        {"EchoCancel", "0"}, {"Gain", "0"},     {"Matrix", "1"}};
const char *const InputCards[] = {"AIN-4", "MIC-4", "AIN-8", "DIN-8"};
const char *const OutputCards[] = {"AOUT-4", "LINE-4", "DOUT-8", "LINK-OUT"};
const char *const GroupTypes[] = {"Level", "Level + Mute", "Mute", "Selector"};
const int NodesPerChassis = 50;

void property(QByteArray &out, const char *name, const QByteArray &value)
{
    out += "        <Property name=\"";
    out += name;
    out += "\" value=\"";
    out += value;
    out += "\" />\n";
}

QByteArray number(int value)
{
    return QByteArray::number(value);
}

} // namespace

QByteArray generate(int nodes)
{
    const int groups = nodes * 8 / 100;
    const int sets = nodes * 2 / 100;
    const int hardware = nodes - groups - sets;

    QByteArray out;
    out.reserve(nodes * 330);
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<Project version=\"4.3\" name=\"Generated site\" savedBy=\"zrbbench\">\n"
           "  <ProjectInfo>\n"
           "    <Facility name=\"Generated site\" />\n"
           "  </ProjectInfo>\n"
           "  <Design>\n    <Nodes>\n";
    int chassis = 0;
    for (int i = 0; i < hardware; ++i) {
        const int slot = i % NodesPerChassis;
        const QByteArray id = number(1000 + i);
        if (slot == 0) {
            ++chassis;
            out += "      <Node className=\"Orvane.Foundry.Nodes.Torva\" typeNumber=\"0\">\n";
            property(out, "title", "TV-1600 (Rack " + number(chassis) + ")");
            property(out, "label", "Rack " + number(chassis));
            property(out, "deviceType", "Torva1600");
            property(out, "isMainTorva", chassis == 1 ? "True" : "False");
            property(out, "ipAddress", "127.0.0.1");
            property(out, "serialPortNumber", "10055");
            property(out, "nodeID", id);
        } else if (slot <= 4) {
            out += "      <Node className=\"Orvane.Foundry.Nodes.Input\" cardType=\"";
            out += InputCards[slot - 1];
            out += "\" typeNumber=\"2\">\n";
            property(out, "title", "Input");
            property(out, "label", "Inputs " + number(slot));
            property(out, "module", number(slot));
            property(out, "nodeID", id);
        } else if (slot <= 8) {
            out += "      <Node className=\"Orvane.Foundry.Nodes.Output\" cardType=\"";
            out += OutputCards[slot - 5];
            out += "\" typeNumber=\"2\">\n";
            property(out, "title", "Output");
            property(out, "label", "Outputs " + number(slot - 4));
            property(out, "module", number(slot));
            property(out, "nodeID", id);
        } else if (slot == 9) {
            out += "      <Node className=\"Orvane.Foundry.Nodes.TorvaLinkTx\" typeNumber=\"0\">\n";
            property(out, "title", "TorvaLink");
            property(out, "label", "Link " + number(chassis));
            property(out, "label1", "Ch 1");
            property(out, "label2", "Lectern");
            property(out, "nodeID", id);
        } else {
            const Block &block = Blocks[i % int(std::size(Blocks))];
            out += "      <Node className=\"Orvane.Foundry.Nodes.";
            out += block.className;
            out += "\" typeNumber=\"";
            out += block.typeNumber;
            out += "\">\n";
            property(out, "title", block.className);
            property(out, "label", QByteArray(block.className) + ' ' + number(i));
            property(out, "index", number(slot));
            property(out, "nodeID", id);
            property(out, "name1", "Source A");
            property(out, "name2", "Source B");
        }
        out += "      </Node>\n";
    }
    out += "    </Nodes>\n    <Groups>\n";
    for (int g = 0; g < groups; ++g) {
        out += "      <Group id=\"" + number(500000 + g) + "\">\n";
        property(out, "title", "Group");
        property(out, "label", "Group " + number(g));
        property(out, "groupType", GroupTypes[g % 4]);
        out += "      </Group>\n";
    }
    out += "    </Groups>\n    <ParameterSets>\n";
    for (int s = 0; s < sets; ++s) {
        out += "      <ParameterSet id=\"" + number(600000 + s) + "\">\n";
        property(out, "title", "Param. Set");
        property(out, "label", "Scene " + number(s));
        property(out, "index", number(s + 1));
        out += "      </ParameterSet>\n";
    }
    out += "    </ParameterSets>\n    <Assignments>\n";
    // Nine groups in ten are assigned; the rest are dropped after reading.
    for (int g = 0; g < groups; ++g) {
        if (g % 10 == 9)
            continue;
        out += "      <Assignment name=\"A" + number(g) + "\">\n";
        out += "        <Group id=\"" + number(500000 + g) + "\">\n";
        const int target = 1000 + (g * 7) % qMax(1, hardware);
        out += "          <Assign targetID=\"" + number(target) +
               "\" targetProp=\"name1\" targetValue=\"Source A\" />\n";
        out += "          <Assign targetID=\"" + number(target) +
               "\" targetProp=\"level\" targetValue=\"0\" />\n";
        out += "        </Group>\n      </Assignment>\n";
    }
    out += "      <Assignment name=\"Scenes\">\n";
    for (int s = 0; s < sets; ++s)
        out += "        <ParameterSet id=\"" + number(600000 + s) + "\" />\n";
    out += "      </Assignment>\n    </Assignments>\n  </Design>\n</Project>\n";
    return out;
}

bool write(const QString &path, int nodes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = generate(nodes);
    return file.write(bytes) == bytes.size();
}

} // namespace DesignGenerator
