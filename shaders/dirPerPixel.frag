#version 120
varying vec3 normal;

void main() {
    // A directional light's GL position is its eye-space direction, the same everywhere.
    vec3 toLight = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(normalize(normal), toLight), 0.0);
    vec3 color = gl_FrontLightModelProduct.sceneColor.rgb + gl_FrontLightProduct[0].ambient.rgb +
                 gl_FrontLightProduct[0].diffuse.rgb * diffuse;
    gl_FragColor = vec4(color, gl_FrontMaterial.diffuse.a);
}
