// Scenery trees: a green eight-sided cone over a brown trunk standing on the ground, drawn in
// both passes so that trees always cast shadows.
#include <FL/gl.h>

#include "render/Palette.h"
#include "track/TrackView.h"

namespace {

constexpr float kCrownGreen[3] = {0.0f, 1.0f, 0.0f};
constexpr float kTrunkBrown[3] = {79 / 255.0f, 64 / 255.0f, 11 / 255.0f};
constexpr double kRimHeight = 0.25;     // crown rim and trunk top, as a share of the tree's height
constexpr double kTrunkHalfWidth = 0.21;  // trunk half-diagonal, as a share of the crown radius
constexpr double kDiagonal = 0.707;     // cos 45 degrees

// Directions from the axis to the octagon's corners, counter-clockwise seen from above.
constexpr double kRim[8][2] = {{1, 0},          {kDiagonal, -kDiagonal}, {0, -1}, {-kDiagonal, -kDiagonal},
                               {-1, 0},         {-kDiagonal, kDiagonal}, {0, 1},  {kDiagonal, kDiagonal}};
// Corners of the trunk's diamond, in the order the strip goes round.
constexpr double kTrunk[5][2] = {{-1, 0}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}};

}  // namespace

void TrackView::drawTrees(int doingShadows) {
    for (int i = 0; i < numTrees; ++i) {
        float x, ignoredY, z;
        trees[i]->getPosition(&x, &ignoredY, &z);  // every tree stands on the ground
        const double r = trees[i]->getRadius();
        const double h = trees[i]->getHeight();
        const double rim = kRimHeight * h;
        const bool selected = i == selectedTree;

        if (!doingShadows) glColor3fv(selected ? kHighlightYellow : kCrownGreen);
        glPushMatrix();
        // The crown, shaded like a cylinder: each rim vertex carries its horizontal direction.
        glBegin(GL_TRIANGLE_FAN);
        glNormal3d(0.0, 1.0, 0.0);
        glVertex3d(x, h, z);
        for (int k = 0; k <= 8; ++k) {
            const double* d = kRim[k % 8];
            glNormal3d(d[0], 0.0, d[1]);
            glVertex3d(x + d[0] * r, rim, z + d[1] * r);
        }
        glEnd();

        if (!doingShadows) glColor3fv(selected ? kHighlightYellow : kTrunkBrown);
        const double w = kTrunkHalfWidth * r;
        glBegin(GL_QUAD_STRIP);
        for (const auto& d : kTrunk) {
            glNormal3d(d[0], 0.0, d[1]);
            glVertex3d(x + d[0] * w, 0.0, z + d[1] * w);
            glVertex3d(x + d[0] * w, rim, z + d[1] * w);
        }
        glEnd();
        glPopMatrix();
    }
}
