#pragma once

#include "model/GLPointPair.h"

// What a scene view needs of the document whose scene it shows: the scene, if the document
// has one, and a place to hand a newly generated scene. Document and view then share one array.
class SceneDocument {
  public:
    virtual ~SceneDocument() = default;
    // The document's scene, or nullptr while it has none.
    virtual PointPairArray pointPairArray() const = 0;
    // The document keeps its own reference to the array; it does not copy it.
    virtual void setPointPairArray(PointPairArray array) = 0;
};
