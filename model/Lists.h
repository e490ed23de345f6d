// Shapes kept as display lists: tessellated once per context, replayed each frame.
#pragma once

#include "support/Win.h"

#include <GL/gl.h>

// Records what `shape` draws into `list` without drawing it.
template <class Shape>
void CompileList(GLuint list, Shape&& shape)
{
    glNewList(list, GL_COMPILE);
    shape();
    glEndList();
}

// Replays `list`; where none could be made (0), draws the shape directly.
template <class Shape>
void CallList(GLuint list, Shape&& shape)
{
    if (list != 0) {
        glCallList(list);
    } else {
        shape();
    }
}
