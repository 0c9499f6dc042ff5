// The remembered open or closed state of the tree's nodes. It is a view
// preference, so changing it does not count as an unsaved change.
#include "store/pw.h"

namespace ardeko {

bool clsPW::NodeStat(const std::string& Cat) const {
    const T_Node* n = nodeStates_.Find(Cat);
    return n ? n->TVExp : true;
}

void clsPW::ChangeNodeStatus(const std::string& Cat, bool stat) {
    nodeStates_.Remove(Cat);
    AppendNode({Cat, stat});
}

} // namespace ardeko
