#pragma once
// A skinned quad on two bones, written by hand so that every pose can be
// worked out on paper. Bone1 turns about z from 0 to 90 degrees over one
// second (10 ticks at 10 ticks a second); Bone2, its child, slides from
// (0, 1, 0) to (2, 1, 0). Vertex 0 and 1 follow Bone1, vertex 3 Bone2 and
// vertex 2 both, half and half. Bone2's offset undoes its bind position.
#include <string>

inline const std::string kTwoBoneModel = R"(xof 0303txt 0032
template Frame { <3d82ab46-62da-11cf-ab39-0020af71e433> [...] }
AnimTicksPerSecond { 10; }
Frame Root {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  Frame Bone1 {
    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
    Frame Bone2 {
      FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,1,0,1;; }
    }
  }
  Frame {
    Mesh Skin {
      4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;;
      2; 3;0,1,2;, 3;1,3,2;;
      MeshMaterialList { 1; 2; 0, 0;; Material { 1;1;1;1;; 10; 0;0;0;; 0;0;0;; } }
      XSkinMeshHeader { 2; 2; 2; }
      SkinWeights { "Bone1"; 3; 0, 1, 2; 1.0, 1.0, 0.5;
        1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
      SkinWeights { "Bone2"; 2; 2, 3; 0.5, 1.0;
        1,0,0,0, 0,1,0,0, 0,0,1,0, 0,-1,0,1;; }
    }
  }
}
AnimationSet Walk {
  Animation {
    { Bone1 }
    AnimationKey { 0; 2; 0; 4; 1, 0, 0, 0;;, 10; 4; 0.70710678, 0, 0, 0.70710678;;; }
  }
  Animation {
    { Bone2 }
    AnimationKey { 2; 2; 0; 3; 0, 1, 0;;, 10; 3; 2, 1, 0;;; }
  }
}
AnimationSet Lift {
  Animation {
    { Bone2 }
    AnimationKey { 2; 1; 0; 3; 0, 3, 0;;; }
  }
}
)";
