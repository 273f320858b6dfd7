MessageBox {
    symbol: "checkmark.circle.fill"
    tint: "#28cd41"
}
