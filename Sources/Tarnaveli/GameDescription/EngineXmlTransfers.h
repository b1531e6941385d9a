#pragma once
// The game description's forms of the engine's records: a placement
// ("Position3D"), a model's drawing options ("MeshModelBase") and a model
// description ("ModelDescription"). The engine knows nothing of XML; these
// transfers read and write its records through their accessors.
#include "Tarnaveli/GameDescription/XmlObjectReader.h"

class MeshModel;
class ModelDescription;
class Transform3D;

// Pos, Direction, Up, Scale; reading gives the engine the new placement.
ErrorCode transferPosition3D(XmlObjectReader& reader, Transform3D& transform);
// Filename, TransparencyThreshold, TransparencyMode, Culling, TexRepeat,
// Pos3D. A missing model (no 3D engine) reads into a scratch record.
ErrorCode transferMeshModelBase(XmlObjectReader& reader, MeshModel* model);
// Model, Scale, Preloaded. Reading "Preloaded" true loads the model, and a
// failing load fails the transfer.
ErrorCode transferModelDescription(XmlObjectReader& reader, ModelDescription& description);
