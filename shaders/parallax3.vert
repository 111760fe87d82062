#version 120
// Parallax mapping: the height map ("HeightTexture") shifts the colour map
// ("testTexture") along the view direction in the face's texture space, so raised
// texels seem to stand out of the polygon. The face frame comes per face in
// "Tangent", "Normal" and "BiNormal" (object space, the binormal pointing along -v).
// The view direction is taken in eye space, where the camera sits at the origin, so
// "Eye" is accepted but not needed.
uniform vec4 Eye;
uniform vec4 Tangent;
uniform vec4 Normal;
uniform vec4 BiNormal;
varying vec3 viewInTangentSpace;

void main() {
    vec3 toEye = -(gl_ModelViewMatrix * gl_Vertex).xyz;
    vec3 t = gl_NormalMatrix * Tangent.xyz;
    vec3 b = gl_NormalMatrix * -BiNormal.xyz;
    vec3 n = gl_NormalMatrix * Normal.xyz;
    viewInTangentSpace = vec3(dot(toEye, t), dot(toEye, b), dot(toEye, n));
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
